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
    void sameAnswerAmongManyPatterns_data();
    void sameAnswerAmongManyPatterns();
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

void WildcardTest::sameAnswerAmongManyPatterns_data()
{
    QTest::addColumn<QString>("patterns");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");

    QTest::newRow("plain name") << u"sky.bmp"_s << u"SKY.BMP"_s << true;
    QTest::newRow("plain name must be the whole name") << u"sky"_s << u"sky.bmp"_s << false;
    QTest::newRow("plain name is no part of a name") << u"sky.bmp"_s << u"bluesky.bmp"_s << false;

    QTest::newRow("ending among endings of other lengths") << u"*.jpeg"_s << u"a.JPEG"_s << true;
    QTest::newRow("ending longer than the name") << u"*.jpeg"_s << u"peg"_s << false;
    QTest::newRow("ending alone is a whole name") << u"*.ico"_s << u".ico"_s << true;
    QTest::newRow("ending must end the name") << u"*.ico"_s << u"a.ico.txt"_s << false;

    QTest::newRow("beginning") << u"img_*"_s << u"IMG_0001.bmp"_s << true;
    QTest::newRow("beginning must start the name") << u"img_*"_s << u"old_img_1.bmp"_s << false;
    QTest::newRow("beginning alone is a whole name") << u"img_*"_s << u"img_"_s << true;

    QTest::newRow("general pattern found by a piece of it")
        << u"*sky*.b?p"_s << u"blue sky.bmp"_s << true;
    QTest::newRow("general pattern whose pieces the name lacks")
        << u"*sky*.b?p"_s << u"blue.bmp"_s << false;
    QTest::newRow("general pattern of one-unit pieces") << u"a*b*c"_s << u"axbyc"_s << true;
    QTest::newRow("general pattern needs its plain end last") << u"*a*c"_s << u"abcx"_s << false;
    QTest::newRow("general pattern retries its last star") << u"*a*c"_s << u"xaycbc"_s << true;
    QTest::newRow("question marks inside") << u"img_????.jpg"_s << u"IMG_1234.JPG"_s << true;
    QTest::newRow("question marks need their characters")
        << u"img_????.jpg"_s << u"IMG_123.JPG"_s << false;
    QTest::newRow("without a star the name may not be longer") << u"a?c"_s << u"abcd"_s << false;
    QTest::newRow("question mark takes a surrogate pair among many")
        << u"?.ico"_s << u"\U0001F600.ico"_s << true;
    QTest::newRow("wildcards alone take any name of their length") << u"???*"_s << u"abc"_s << true;
    QTest::newRow("wildcards alone need that length") << u"???*"_s << u"ab"_s << false;

    QTest::newRow("list of every shape, plain name matches")
        << u"*.bmp;img_*;sky;s*y?"_s << u"sky"_s << true;
    QTest::newRow("list of every shape, only the general one matches")
        << u"*.bmp;img_*;sky;s*y?"_s << u"stayx"_s << true;
    QTest::newRow("list of every shape, none matches")
        << u"*.bmp;img_*;sky;s*y?"_s << u"skyline.pcx"_s << false;

    QTest::newRow("case of a plain name") << u"Sky.BMP"_s << u"sKY.bmp"_s << true;
    QTest::newRow("case of an ending") << u"*.JPEG"_s << u"a.jpeg"_s << true;
    QTest::newRow("case of a beginning") << u"IMG_*"_s << u"img_1.bmp"_s << true;
    QTest::newRow("case of a general pattern") << u"*SKY*.B?P"_s << u"blue sky.bmp"_s << true;
    QTest::newRow("non-ASCII case of a general pattern") << u"*ÄPFEL?"_s << u"grünäpfel1"_s << true;

    QTest::newRow("name listed plainly and matched by a general pattern")
        << u"sky.bmp;s?y.bmp"_s << u"SKY.BMP"_s << true;
    QTest::newRow("name matched by the general one of the two")
        << u"sky.bmp;s?y.bmp"_s << u"spy.bmp"_s << true;
}

// Thousands of other patterns of every shape send each kind to its index instead of trying it
// alone; the answer must not change, wherever the patterns stand in the list.
void WildcardTest::sameAnswerAmongManyPatterns()
{
    QFETCH(QString, patterns);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    static const QString others = [] {
        QString list;
        for (int i = 0; i < 1000; ++i)
            list += u"decoy%1;*.decoy%1;decoy%1*;*de?oy%1*;?decoy%1;"_s.arg(i);
        return list;
    }();
    QVERIFY(!WildcardPattern(others).matches(name));
    for (const QString &list : {patterns, others + patterns, patterns + u';' + others}) {
        const WildcardPattern wildcard(list);
        QCOMPARE(wildcard.matches(name), matches);
        QCOMPARE(wildcard.matchesFolded(WildcardPattern::caseFolded(name)), matches);
    }
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
