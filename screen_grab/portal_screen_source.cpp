// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_grab/portal_screen_source.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QUrl>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace vantok
{

namespace
{

const QString Portal = u"org.freedesktop.portal.Desktop"_s;
const QString PortalPath = u"/org/freedesktop/portal/desktop"_s;
const QString Screenshot = u"org.freedesktop.portal.Screenshot"_s;
const QString Request = u"org.freedesktop.portal.Request"_s;
// Long enough for a permission dialog the portal may show first.
constexpr auto AnswerTime = 60s;

// Where the portal puts the request for `token`: the caller's unique name, without its colon and
// with dots as underscores, then the token.
QString requestPath(const QDBusConnection &bus, const QString &token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    return u"%1/request/%2/%3"_s.arg(PortalPath, sender, token);
}

}  // namespace

PortalScreenSource::PortalScreenSource()
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(AnswerTime);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        fail(GrabFailure::TimedOut, u"the desktop portal did not answer within a minute"_s);
    });
}

// First whether a portal with screenshots is there at all; asking also starts it.
void PortalScreenSource::grab()
{
    if (m_timeout.isActive())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QTimer::singleShot(0, this, [this] {
            fail(GrabFailure::Unavailable, u"there is no session bus to reach a desktop portal"_s);
        });
    m_timeout.start();
    QDBusMessage version = QDBusMessage::createMethodCall(
        Portal, PortalPath, u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    version << Screenshot << u"version"_s;
    auto *check = new QDBusPendingCallWatcher(bus.asyncCall(version), this);
    connect(check, &QDBusPendingCallWatcher::finished, this, &PortalScreenSource::portalChecked);
}

void PortalScreenSource::portalChecked(QDBusPendingCallWatcher *check)
{
    check->deleteLater();
    if (!m_timeout.isActive())
        return;
    if (check->error().type() == QDBusError::ServiceUnknown)
        return fail(GrabFailure::Unavailable, u"no desktop portal is running"_s);
    if (check->isError())
        return fail(
            GrabFailure::Unavailable,
            u"the desktop portal offers no screenshots (%1)"_s.arg(check->error().message()));

    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString token = u"vantok%1"_s.arg(++m_requests);
    // Subscribed before the call, so that an answer can't come first.
    if (!m_requestPath.isEmpty())
        bus.disconnect(Portal, m_requestPath, Request, u"Response"_s, this,
                       SLOT(answered(uint, QVariantMap)));
    m_requestPath = requestPath(bus, token);
    bus.connect(Portal, m_requestPath, Request, u"Response"_s, this,
                SLOT(answered(uint, QVariantMap)));

    QDBusMessage call =
        QDBusMessage::createMethodCall(Portal, PortalPath, Screenshot, u"Screenshot"_s);
    const QVariantMap options{
        {u"handle_token"_s, token}, {u"interactive"_s, false}, {u"modal"_s, true}};
    call << QString() << options;
    auto *sent = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(sent, &QDBusPendingCallWatcher::finished, this, &PortalScreenSource::requestSent);
}

void PortalScreenSource::requestSent(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    if (!m_timeout.isActive())
        return;
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError())
        return fail(GrabFailure::Refused,
                    u"the desktop portal refused a screenshot: %1"_s.arg(reply.error().message()));
    // An old portal ignores the token and names its own request.
    const QString path = reply.value().path();
    if (path != m_requestPath) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.disconnect(Portal, m_requestPath, Request, u"Response"_s, this,
                       SLOT(answered(uint, QVariantMap)));
        m_requestPath = path;
        bus.connect(Portal, m_requestPath, Request, u"Response"_s, this,
                    SLOT(answered(uint, QVariantMap)));
    }
}

void PortalScreenSource::answered(uint response, const QVariantMap &results)
{
    if (!m_timeout.isActive())
        return;
    finish();
    if (response == 1)
        return fail(GrabFailure::Cancelled, u"the screenshot was cancelled"_s);
    if (response != 0)
        return fail(GrabFailure::Refused, u"the desktop portal refused or could not take one"_s);
    const QUrl uri(results.value(u"uri"_s).toString());
    if (!uri.isLocalFile())
        return fail(GrabFailure::Failed, u"the desktop portal gave no screenshot file"_s);
    // Read at once, as some portals write every screenshot to the same file. One left in the
    // temporary folder was made for this request alone and shows the screen to anyone who can read
    // there (xdg-desktop-portal-wlr's /tmp/out.png), so it goes; one saved among the user's
    // pictures stays.
    const QString file = uri.toLocalFile();
    QImage picture(file);
    const QString folder = QFileInfo(file).absolutePath();
    if (folder == QDir::tempPath() || folder == u"/tmp"_s)
        QFile::remove(file);
    if (picture.isNull())
        return fail(GrabFailure::Failed,
                    u"the screenshot \"%1\" cannot be read"_s.arg(uri.toLocalFile()));
    picture = std::move(picture).convertToFormat(QImage::Format_RGB32);
    picture.setDevicePixelRatio(1);
    const QList<ScreenPart> parts = partsOfDesktopPicture(screenPlaces(), picture.size());
    emit grabbed(picture, parts);
}

void PortalScreenSource::finish()
{
    m_timeout.stop();
    QDBusConnection::sessionBus().disconnect(Portal, m_requestPath, Request, u"Response"_s, this,
                                             SLOT(answered(uint, QVariantMap)));
    m_requestPath.clear();
}

void PortalScreenSource::fail(GrabFailure kind, const QString &reason)
{
    finish();
    emit failed(kind, reason);
}

}  // namespace vantok
