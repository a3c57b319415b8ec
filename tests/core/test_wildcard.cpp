// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wildcard.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;
using vantok::WildcardPattern;

class WildcardTest : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void pathologicalPatternStaysFast();
};

void WildcardTest::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");

    QTest::newRow("extension pattern") << u"*.BMP"_s << u"SKY.BMP"_s << true;
    QTest::newRow("other extension is refused") << u"*.BMP"_s << u"SKY.PCX"_s << false;
    QTest::newRow("case of the name does not matter") << u"*.BMP"_s << u"sky.bmp"_s << true;
    QTest::newRow("case of the pattern does not matter") << u"*.bmp"_s << u"Sky.Bmp"_s << true;
    QTest::newRow("non-ASCII letters fold too") << u"ÄPFEL.*"_s << u"äpfel.ico"_s << true;
    QTest::newRow("extension longer than the name") << u"*.jpeg"_s << u"a.jp"_s << false;
    QTest::newRow("star alone before a literal matches the literal itself")
        << u"*.ico"_s << u".ico"_s << true;
    QTest::newRow("extension must end the name") << u"*.BMP"_s << u"SKY.BMP.TXT"_s << false;

    QTest::newRow("question mark takes one character") << u"A?C"_s << u"ABC"_s << true;
    QTest::newRow("question mark needs a character") << u"A?C"_s << u"AC"_s << false;
    QTest::newRow("question mark takes only one") << u"A?C"_s << u"ABBC"_s << false;
    QTest::newRow("question mark takes a surrogate pair as one")
        << u"?.ico"_s << u"\U0001F600.ico"_s << true;

    QTest::newRow("first of a list") << u"*.BMP;*.ICO"_s << u"A.BMP"_s << true;
    QTest::newRow("second of a list") << u"*.BMP;*.ICO"_s << u"A.ICO"_s << true;
    QTest::newRow("none of a list") << u"*.BMP;*.ICO"_s << u"A.PCX"_s << false;
    QTest::newRow("blanks around list entries are ignored")
        << u" *.BMP ; *.ICO "_s << u"A.ICO"_s << true;
    QTest::newRow("blank inside an entry is literal") << u"A B.*"_s << u"A B.ICO"_s << true;
    QTest::newRow("empty entries in a list are skipped") << u";;*.ICO;"_s << u"A.BMP"_s << false;
    QTest::newRow("half-typed pattern filters as it stands") << u"*.B"_s << u"A.BMP"_s << false;

    QTest::newRow("empty pattern lists everything") << u""_s << u"A.BMP"_s << true;
    QTest::newRow("only blanks list everything") << u"   "_s << u"A.BMP"_s << true;
    QTest::newRow("only separators list everything") << u" ; ;"_s << u"A.BMP"_s << true;

    QTest::newRow("bracket is literal") << u"[a].bmp"_s << u"[a].bmp"_s << true;
    QTest::newRow("bracket is no character class") << u"[ab].bmp"_s << u"a.bmp"_s << false;
    QTest::newRow("other regex characters are literal")
        << u"a+(1)^$.bmp"_s << u"a+(1)^$.bmp"_s << true;
    QTest::newRow("dot is no wildcard") << u"a.b"_s << u"axb"_s << false;
    QTest::newRow("backslash is literal") << u"a\\*"_s << u"a\\b"_s << true;

    QTest::newRow("star alone takes names without a dot") << u"*"_s << u"README"_s << true;
    QTest::newRow("star-dot-star needs a dot") << u"*.*"_s << u"README"_s << false;
    QTest::newRow("leading star") << u"*SKY"_s << u"BLUESKY"_s << true;
    QTest::newRow("middle star") << u"S*Y"_s << u"STORMY"_s << true;
    QTest::newRow("middle star may match nothing") << u"S*Y"_s << u"SY"_s << true;
    QTest::newRow("trailing star") << u"SKY*"_s << u"SKY.BMP"_s << true;
    QTest::newRow("trailing star needs the prefix") << u"SKY*"_s << u"ASKY.BMP"_s << false;
    QTest::newRow("star retries after a false start") << u"*ab"_s << u"aab"_s << true;
    QTest::newRow("later star retries, earlier one holds") << u"*a*b"_s << u"xaxxbxb"_s << true;
    QTest::newRow("runs of stars mean one") << u"a**b"_s << u"ab"_s << true;
    QTest::newRow("star and question mark together") << u"*?.ico"_s << u".ico"_s << false;
    QTest::newRow("empty name only matches stars") << u"*"_s << u""_s << true;
    QTest::newRow("empty name against a literal") << u"a"_s << u""_s << false;
}

void WildcardTest::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    const WildcardPattern wildcard(pattern);
    QCOMPARE(wildcard.matches(name), matches);
    QCOMPARE(wildcard.matchesFolded(WildcardPattern::caseFolded(name)), matches);
}

// A backtracking matcher takes exponential time here; the file list matches at every keystroke.
void WildcardTest::pathologicalPatternStaysFast()
{
    const WildcardPattern pattern(u"*a*a*a*a*a*a*b");
    const QString name(20000, u'a');
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!pattern.matches(name));
    QVERIFY(pattern.matches(name + u'b'));
    QCOMPARE_LT(clock.elapsed(), 500);
}

QTEST_GUILESS_MAIN(WildcardTest)
#include "test_wildcard.moc"
