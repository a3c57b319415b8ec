// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/icon_source.h"

#include <QTest>

using namespace Qt::StringLiterals;
using vantok::IconSource;

class IconSourceTest : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void rejects_data();
    void rejects();
};

void IconSourceTest::reads_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("indices");
    QTest::newRow("digits and dots, row by row")
        << QByteArray("0F.\n9A.\n") << 3 << 2 << QList<int>{0, 15, -1, 9, 10, -1};
    QTest::newRow("comments and blank lines are skipped")
        << QByteArray("# a drawing\n\n12\n# between rows\n34\n\n") << 2 << 2
        << QList<int>{1, 2, 3, 4};
    QTest::newRow("lower-case digits")
        << QByteArray("ab\ncd") << 2 << 2 << QList<int>{10, 11, 12, 13};
    QTest::newRow("CR LF line ends")
        << QByteArray("1.\r\n.2\r\n") << 2 << 2 << QList<int>{1, -1, -1, 2};
}

void IconSourceTest::reads()
{
    QFETCH(QByteArray, text);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QList<int>, indices);
    QString error;
    const std::optional<IconSource> source = IconSource::parse(text, &error);
    QVERIFY2(source, qPrintable(error));
    QCOMPARE(source->width(), width);
    QCOMPARE(source->height(), height);
    QList<int> read;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            read.append(source->index(x, y));
    QCOMPARE(read, indices);
    QCOMPARE(source->isTransparent(0, 0), indices.first() == IconSource::Transparent);
}

void IconSourceTest::rejects_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("errorMentions");
    QTest::newRow("rows of different widths") << QByteArray("123\n12\n") << u"line 2"_s;
    QTest::newRow("character outside the palette") << QByteArray("12\n1G\n") << u"column 2"_s;
    QTest::newRow("blank inside a row") << QByteArray("1 2\n") << u"column 2"_s;
    QTest::newRow("nothing but comments") << QByteArray("# empty\n") << u"no rows"_s;
    QTest::newRow("wider than an icon can be") << QByteArray(257, '0') << u"257 x 1"_s;
}

void IconSourceTest::rejects()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, errorMentions);
    QString error;
    QVERIFY(!IconSource::parse(text, &error));
    QVERIFY2(error.contains(errorMentions), qPrintable(error));
}

QTEST_GUILESS_MAIN(IconSourceTest)
#include "test_icon_source.moc"
