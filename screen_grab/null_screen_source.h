// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screen_grab/screen_source.h"

namespace vantok
{

// Where no way to read the screen is known: every grab fails as unsupported.
class NullScreenSource : public DirectScreenSource
{
    Q_OBJECT

public:
    explicit NullScreenSource(QString platform);

private:
    void grabNow() override;

    QString m_platform;
};

}  // namespace vantok
