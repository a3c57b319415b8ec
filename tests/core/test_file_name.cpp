// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/file_name.h"

#include <QTest>

using namespace Qt::StringLiterals;
using vantok::FileName;

class FileNameTest : public QObject
{
    Q_OBJECT

private slots:
    void keepsEveryByte_data();
    void keepsEveryByte();
};

void FileNameTest::keepsEveryByte_data()
{
#ifdef Q_OS_WIN
    QSKIP("names on Windows are UTF-16, which QString holds as they are");
#endif
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("UTF-8 reads as it is") << "caf\xc3\xa9.bmp"_ba << u"café.bmp"_s;
    QTest::newRow("a Latin-1 byte") << "caf\xe9.bmp"_ba << u"caf\uFFFD.bmp"_s;
    QTest::newRow("a character cut off at the end") << "a\xe2\x82"_ba << u"a\uFFFD\uFFFD"_s;
    QTest::newRow("a surrogate written as UTF-8 is three bytes")
        << "\xed\xb3\xa9"_ba << u"\uFFFD\uFFFD\uFFFD"_s;
    QTest::newRow("a bad byte right after a four-byte character")
        << "\xf0\x9f\x98\x80\xe9"_ba << u"\U0001F600\uFFFD"_s;
}

// The text holds the bytes: a name made from it opens the same file.
void FileNameTest::keepsEveryByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const FileName name = FileName::fromNative(bytes);
    QCOMPARE(name.shownText(), shown);
    QCOMPARE(FileName(name.text()).native(), bytes);
}

QTEST_GUILESS_MAIN(FileNameTest)
#include "test_file_name.moc"
