// SPDX-License-Identifier: GPL-3.0-or-later
// A megabyte pasted into a component box and then edited by keystrokes: every edit is one change,
// the swatch reads the text as it would a short one that means the same, and the window goes on
// answering picks.

#include "controls/colour_label.h"
#include "controls/option_button.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "main_window/main_window.h"
#include "tests/support/typing.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantok;
using namespace vantok::test;

namespace
{

constexpr qsizetype Megabyte = 1 << 20;

}  // namespace

class LongTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void megabytePastedThenEdited_data();
    void megabytePastedThenEdited();

private:
    MainWindow *m_window = nullptr;
};

void LongTextsTest::init()
{
    m_window = new MainWindow;
    m_window->show();  // laid out and painted as on screen, where long texts cost the most
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void LongTextsTest::cleanup()
{
    QApplication::clipboard()->clear();
    delete m_window;
    m_window = nullptr;
}

void LongTextsTest::megabytePastedThenEdited_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<bool>("hexadecimal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sameMeaning");
    QTest::newRow("LABw1: digits past any integer count as 255")
        << u"LABw1"_s << false << QString(Megabyte, u'7') << u"300"_s;
    QTest::newRow("LABw2: letters read as nothing")
        << u"LABw2"_s << false << QString(Megabyte, u'x') << u"x"_s;
    QTest::newRow("LABw3: a negative run of digits counts as 0")
        << u"LABw3"_s << false << u'-' + QString(Megabyte, u'9') << u"-9"_s;
    QTest::newRow("LABw1: blanks before a fraction")
        << u"LABw1"_s << false << QString(Megabyte, u' ') + u"12.5"_s << u"12.5"_s;
    QTest::newRow("LABw2: hexadecimal digits past 32 bits read as nothing")
        << u"LABw2"_s << true << QString(Megabyte, u'F') << u"x"_s;
    QTest::newRow("LABw3: hexadecimal zeros before a value")
        << u"LABw3"_s << true << QString(Megabyte, u'0') + u"A0"_s << u"A0"_s;
}

void LongTextsTest::megabytePastedThenEdited()
{
    QFETCH(QString, boxName);
    QFETCH(bool, hexadecimal);
    QFETCH(QString, text);
    QFETCH(QString, sameMeaning);
    auto *box = m_window->findChild<TextBox *>(boxName);
    QVERIFY(box);
    if (hexadecimal)
        QTest::mouseClick(m_window->Op1, Qt::LeftButton);
    box->setFocus();
    typeInto(box, sameMeaning);
    const ColourValue expected = m_window->Lab1->backColor();
    typeInto(box, u"1"_s);  // so the paste must repaint the swatch again
    QVERIFY(m_window->Lab1->backColor() != expected);

    QSignalSpy changes(box, &TextBox::changed);
    QObject counting;
    int otherChanges = 0;
    for (TextBox *other : {m_window->LABw1, m_window->LABw2, m_window->LABw3}) {
        if (other != box)
            connect(other, &TextBox::changed, &counting, [&otherChanges] { ++otherChanges; });
    }
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text().size(), text.size());
    QCOMPARE(m_window->Lab1->backColor(), expected);

    // Keystrokes at both ends: each edit of the megabyte is one change.
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text.right(1));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text.left(1));
    QCOMPARE(box->text(), text);
    QCOMPARE(m_window->Lab1->backColor(), expected);
    QCOMPARE(changes.count(), 5);
    QCOMPARE(otherChanges, 0);

    // A pick still answers, and puts short texts back.
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(qRgb(1, 22, 133));
    m_window->Pic1->setPicture(picture);
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(2 + 1, 2 + 1));
    QCOMPARE(
        QStringList({m_window->LABw1->text(), m_window->LABw2->text(), m_window->LABw3->text()}),
        QStringList({u"1"_s, u"22"_s, u"133"_s}));
}

QTEST_MAIN(LongTextsTest)
#include "test_long_texts.moc"
