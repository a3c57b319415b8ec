// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display_opening.h"

#include <QList>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace vantok
{

namespace
{

// A null string stays a null pointer: Qt leaves out what the context lacks.
const char *orNull(const QByteArray &bytes)
{
    return bytes.isNull() ? nullptr : bytes.constData();
}

struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

// Holds Qt's messages while it lives, then passes them on as they came. While QApplication is
// being made, a fatal message is Qt giving up on every platform it tried: one line, status 1.
class HeldMessages
{
public:
    HeldMessages() { s_passOn = qInstallMessageHandler(&hold); }
    ~HeldMessages()
    {
        qInstallMessageHandler(s_passOn);
        const std::lock_guard lock(s_mutex);
        for (const HeldMessage &m : std::as_const(s_held)) {
            const QMessageLogContext context(orNull(m.file), m.line, orNull(m.function),
                                             orNull(m.category));
            s_passOn(m.type, context, m.text);
        }
        s_held.clear();
    }
    HeldMessages(const HeldMessages &) = delete;
    HeldMessages &operator=(const HeldMessages &) = delete;

private:
    static void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtFatalMsg) {
            std::fputs("vantok: cannot open a display\n", stderr);
            std::_Exit(1);  // Qt is half made: nothing of it may run on the way out
        }
        const std::lock_guard lock(s_mutex);
        s_held.append({type, context.file, context.function, context.category, context.line, text});
    }

    static inline QtMessageHandler s_passOn = nullptr;
    static inline std::mutex s_mutex;
    static inline QList<HeldMessage> s_held;
};

}  // namespace

std::unique_ptr<QApplication> openDisplay(int &argc, char **argv)
{
    const HeldMessages held;
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace vantok
