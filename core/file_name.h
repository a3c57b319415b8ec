// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QUrl;

namespace vantok
{

// A file's name or path as the system knows it. Linux names are bytes that need not be UTF-8,
// while Qt reads them as UTF-8, so a name with other bytes would no longer open once made text:
// here the bytes are kept for opening. Its text keeps every byte too: each byte that is not part
// of UTF-8 becomes a lone surrogate U+DC80 to U+DCFF (as Python's "surrogateescape" does), which
// no UTF-8 name gives, so lists can hold, sort and match it as text and give the bytes back.
// Windows names are UTF-16, which QString holds exactly: there the native form is the text.
class FileName
{
public:
#ifdef Q_OS_WIN
    using Native = QString;
#else
    using Native = QByteArray;
#endif

    FileName() = default;
    // Text names the file it reads as, and text() of a FileName gives its bytes back; so Qt's and
    // the user's names convert without ado.
    FileName(const QString &text);
    static FileName fromNative(Native native);
    // The local file a file: URL names, with the bytes it percent-encodes.
    static FileName fromLocalFileUrl(const QUrl &url);

    // For the system's calls.
    const Native &native() const
    {
        return m_native;
    }
    // Every byte kept, as above.
    QString text() const;
    // For people: text() with U+FFFD for each byte that is not UTF-8.
    QString shownText() const
    {
        return shown(text());
    }
    bool isEmpty() const
    {
        return m_native.isEmpty();
    }

    // A text() made fit to show.
    static QString shown(QString text);

    friend bool operator==(const FileName &, const FileName &) = default;

private:
    Native m_native;
};

// The program's arguments, file names kept whole as FileName::text() gives them. On Windows, once
// the application object exists, what Qt read from the command line as typed.
QStringList commandLineArguments(int argc, char *argv[]);

}  // namespace vantok
