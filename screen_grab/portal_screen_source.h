// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screen_grab/screen_source.h"

#include <QString>
#include <QTimer>
#include <QVariantMap>

class QDBusPendingCallWatcher;

namespace vantok
{

// Asks the desktop portal for a screenshot, where a program may not read the screen itself
// (Wayland). The portal answers through a request object's `Response` signal, which is subscribed
// to before the call is sent, under a token of our own; a missing portal, a refusal, the user's
// no and a timeout are told apart.
class PortalScreenSource : public ScreenSource
{
    Q_OBJECT

public:
    PortalScreenSource();
    void grab() override;

private slots:
    // The request's `Response` signal: QtDBus delivers it only to a slot named by its signature.
    void answered(uint response, const QVariantMap &results);

private:
    void portalChecked(QDBusPendingCallWatcher *check);
    void requestSent(QDBusPendingCallWatcher *call);
    void finish();
    void fail(GrabFailure kind, const QString &reason);

    QString m_requestPath;
    QTimer m_timeout;
    int m_requests = 0;
};

}  // namespace vantok
