// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_grab/screen_source.h"

#include "screen_grab/null_screen_source.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>
#include <QTimer>

#ifdef Q_OS_WIN
#include "screen_grab/windows_screen_source.h"
#else
#include "screen_grab/portal_screen_source.h"
#include "screen_grab/x11_screen_source.h"
#endif

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{
// Quiet unless asked for (QT_LOGGING_RULES="vantok.grab.info=true").
Q_LOGGING_CATEGORY(grabLog, "vantok.grab", QtWarningMsg)
}  // namespace

void DirectScreenSource::grab()
{
    if (m_busy)
        return;
    m_busy = true;
    QTimer::singleShot(0, this, [this] {
        m_busy = false;
        grabNow();
    });
}

QList<ScreenPlace> screenPlaces()
{
    QList<ScreenPlace> places;
    for (const QScreen *screen : QGuiApplication::screens())
        places.append({screen->name(), screen->geometry()});
    return places;
}

std::unique_ptr<ScreenSource> chooseScreenSource()
{
    const QString platform = QGuiApplication::platformName();
    std::unique_ptr<ScreenSource> source;
#ifdef Q_OS_WIN
    if (platform == u"windows"_s)
        source = std::make_unique<WindowsScreenSource>();
#else
    if (platform == u"xcb"_s)
        source = std::make_unique<X11ScreenSource>();
    else if (platform.startsWith(u"wayland"_s))
        source = std::make_unique<PortalScreenSource>();
#endif
    if (!source)
        source = std::make_unique<NullScreenSource>(platform);
    qCInfo(grabLog, "reading the screen through %s on \"%s\"", source->metaObject()->className(),
           qPrintable(platform));
    return source;
}

}  // namespace vantok
