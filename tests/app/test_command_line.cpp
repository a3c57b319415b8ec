// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QTest>

using namespace Qt::StringLiterals;

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void takesQtOptionsAsQtDoes_data();
    void takesQtOptionsAsQtDoes();
};

// The picture each line names, as QApplication leaves the line; empty for none, "error" for a
// usage error.
void CommandLineTest::takesQtOptionsAsQtDoes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("picture");

    QTest::newRow("-platform takes its value")
        << QStringList{u"-platform"_s, u"xcb"_s, u"a.png"_s} << u"a.png"_s;
    QTest::newRow("two dashes as well")
        << QStringList{u"--display"_s, u":1"_s, u"a.png"_s} << u"a.png"_s;
    QTest::newRow("a value after =") << QStringList{u"-style=fusion"_s, u"a.png"_s} << u"a.png"_s;
    QTest::newRow("-reverse takes none") << QStringList{u"-reverse"_s, u"a.png"_s} << u"a.png"_s;
    QTest::newRow("-qwindowgeometry's value is no picture")
        << QStringList{u"-qwindowgeometry"_s, u"10x10"_s} << QString();
    QTest::newRow("of several pictures the first")
        << QStringList{u"a.png"_s, u"-widgetcount"_s, u"b.png"_s} << u"a.png"_s;
    QTest::newRow("-sync, which Qt leaves, is unknown") << QStringList{u"-sync"_s} << u"error"_s;
    QTest::newRow("a Qt option without its value") << QStringList{u"-platform"_s} << u"error"_s;
    QTest::newRow("an unknown option after Qt's")
        << QStringList{u"-title"_s, u"T"_s, u"--frobnicate"_s} << u"error"_s;
}

void CommandLineTest::takesQtOptionsAsQtDoes()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, picture);
    vantok::CommandLine commandLine;
    if (!commandLine.parse(QStringList{u"vantok"_s} + arguments)) {
        QCOMPARE(u"error"_s, picture);
        return;
    }
    QCOMPARE(commandLine.picture().value_or(QString()), picture);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
