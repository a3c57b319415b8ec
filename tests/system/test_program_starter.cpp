// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/program_starter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// What a program file is called: on Windows its suffix makes it one, elsewhere its mode bits.
QString program(const QString &name)
{
#ifdef Q_OS_WIN
    return name + u".exe"_s;
#else
    return name;
#endif
}

}  // namespace

class ProgramStarterTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void locates_data();
    void locates();

private:
    QString makeFile(const QString &relative, bool executable);

    QTemporaryDir m_dir;
    QByteArray m_savedPath;
    QString m_savedCurrent;
};

QString ProgramStarterTest::makeFile(const QString &relative, bool executable)
{
    const QString path = m_dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\nexit 0\n");
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    file.setPermissions(permissions);
    return QFileInfo(path).absoluteFilePath();
}

void ProgramStarterTest::init()
{
    QVERIFY(m_dir.isValid());
    m_savedPath = qgetenv("PATH");
    m_savedCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    // Only our own folders are searched, so the machine's programs cannot answer.
    qputenv("PATH", QDir::toNativeSeparators(m_dir.filePath(u"first"_s) + QDir::listSeparator() +
                                             m_dir.filePath(u"second"_s))
                        .toLocal8Bit());
}

void ProgramStarterTest::cleanup()
{
    qputenv("PATH", m_savedPath);
    QDir::setCurrent(m_savedCurrent);
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

void ProgramStarterTest::locates_data()
{
    QTest::addColumn<QStringList>("executables");
    QTest::addColumn<QStringList>("plainFiles");
    QTest::addColumn<QString>("defaultPath");
    QTest::addColumn<QString>("expected");
    const QString first = program(u"first/mtpaint"_s);
    const QString second = program(u"second/kolourpaint"_s);
    QTest::newRow("first alternative on PATH")
        << QStringList{second, first} << QStringList{} << u"\\NOWHERE\\PBRUSH.EXE"_s << first;
    QTest::newRow("later alternative when the first is missing")
        << QStringList{second} << QStringList{} << u"\\NOWHERE\\PBRUSH.EXE"_s << second;
    // Without the mode bits or, on Windows, without a program's suffix.
    QTest::newRow("non-program file is ignored")
        << QStringList{second} << QStringList{u"first/mtpaint"_s} << u"\\NOWHERE\\PBRUSH.EXE"_s
        << second;
    QTest::newRow("default in the current directory wins")
        << QStringList{u"ZOOM.EXE"_s, first} << QStringList{} << u".\\ZOOM.EXE"_s << u"ZOOM.EXE"_s;
#ifndef Q_OS_WIN  // there, a file named .EXE is a program whatever its mode
    QTest::newRow("non-executable default falls back")
        << QStringList{first} << QStringList{u"ZOOM.EXE"_s} << u".\\ZOOM.EXE"_s << first;
#endif
    QTest::newRow("nothing found")
        << QStringList{} << QStringList{u"first/mtpaint"_s} << u".\\ZOOM.EXE"_s << QString();
}

void ProgramStarterTest::locates()
{
    QFETCH(QStringList, executables);
    QFETCH(QStringList, plainFiles);
    QFETCH(QString, defaultPath);
    QFETCH(QString, expected);
    for (const QString &file : executables)
        QVERIFY(!makeFile(file, true).isEmpty());
    for (const QString &file : plainFiles)
        QVERIFY(!makeFile(file, false).isEmpty());
    const QString found = vantok::locateProgram(defaultPath, {u"mtpaint"_s, u"kolourpaint"_s});
    if (expected.isEmpty())
        QVERIFY2(found.isEmpty(), qPrintable(found));
    else
        QCOMPARE(QFileInfo(found).canonicalFilePath(),
                 QFileInfo(m_dir.filePath(expected)).canonicalFilePath());
}

QTEST_GUILESS_MAIN(ProgramStarterTest)
#include "test_program_starter.moc"
