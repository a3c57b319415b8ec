// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/program_starter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

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
    qputenv("PATH",
            (m_dir.filePath(u"first"_s) + u':' + m_dir.filePath(u"second"_s)).toLocal8Bit());
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
    const QStringList alternatives{u"mtpaint"_s, u"kolourpaint"_s};
    QTest::newRow("first alternative on PATH")
        << QStringList{u"second/kolourpaint"_s, u"first/mtpaint"_s} << QStringList{}
        << u"\\NOWHERE\\PBRUSH.EXE"_s << u"first/mtpaint"_s;
    QTest::newRow("later alternative when the first is missing")
        << QStringList{u"second/kolourpaint"_s} << QStringList{} << u"\\NOWHERE\\PBRUSH.EXE"_s
        << u"second/kolourpaint"_s;
    QTest::newRow("non-executable file is ignored")
        << QStringList{u"second/kolourpaint"_s} << QStringList{u"first/mtpaint"_s}
        << u"\\NOWHERE\\PBRUSH.EXE"_s << u"second/kolourpaint"_s;
    QTest::newRow("default in the current directory wins")
        << QStringList{u"ZOOM.EXE"_s, u"first/mtpaint"_s} << QStringList{} << u".\\ZOOM.EXE"_s
        << u"ZOOM.EXE"_s;
    QTest::newRow("non-executable default falls back")
        << QStringList{u"first/mtpaint"_s} << QStringList{u"ZOOM.EXE"_s} << u".\\ZOOM.EXE"_s
        << u"first/mtpaint"_s;
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
