// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_grab/null_screen_source.h"

using namespace Qt::StringLiterals;

namespace vantok
{

NullScreenSource::NullScreenSource(QString platform) : m_platform(std::move(platform)) {}

void NullScreenSource::grabNow()
{
    emit failed(GrabFailure::Unsupported,
                u"the screen cannot be read on the \"%1\" platform"_s.arg(m_platform));
}

}  // namespace vantok
