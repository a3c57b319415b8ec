// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screen_grab/screen_source.h"

namespace vantok
{

// Where no way to read the screen is known: every grab fails as unsupported.
class NullScreenSource : public ScreenSource
{
    Q_OBJECT

public:
    explicit NullScreenSource(QString platform);
    void grab() override;

private:
    QString m_platform;
};

}  // namespace vantok
