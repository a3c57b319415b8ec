// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/colour_label.h"
#include "controls/image_control.h"
#include "controls/option_button.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "controls/wrapped_button.h"
#include "main_window/main_window.h"
#include "main_window/main_window_layout.h"
#include "tests/support/typing.h"
#include "testsupport/picture_files.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;
using namespace vantok;
using namespace vantok::test;

namespace
{

QStringList boxTexts(const MainWindow &w)
{
    return {w.LABw1->text(), w.LABw2->text(), w.LABw3->text()};
}

// Records the order in which watched controls are shown and hidden.
class VisibilityLog : public QObject
{
public:
    explicit VisibilityLog(std::initializer_list<QWidget *> watched)
    {
        for (QWidget *w : watched)
            w->installEventFilter(this);
    }
    QStringList entries;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent)
            entries << watched->objectName() + u" shown"_s;
        else if (event->type() == QEvent::HideToParent)
            entries << watched->objectName() + u" hidden"_s;
        return false;
    }
};

struct ColourState {
    QStringList boxes;
    bool hexadecimal;
    ColourValue swatch;
    bool operator==(const ColourState &) const = default;
};

ColourState colourState(const MainWindow &w)
{
    return {boxTexts(w), w.Op1->value(), w.Lab1->backColor()};
}

}  // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsSitWhereTheTableSays();
    void stackingDecidesWhoGetsTheClick_data();
    void stackingDecidesWhoGetsTheClick();
    void tabOrderSkipsLabelsAndHiddenControls();
    void startsInItsInitialState();
    void picture1FocusedWhenShown();

    void selectingHexAtStartWritesZeroAndPaintsBlack();
    void typingRepaintsTheSwatch_data();
    void typingRepaintsTheSwatch();
    void radixSwitchRewritesBoxesKeepingTheColour();
    void decimalBlanksSurviveIntoHex();
    void pickInHexModeFirstRewritesBoxesInDecimal();
    void pickInDecimalModeWritesEachBoxOnce();
    void anyButtonAndModifierPicks_data();
    void anyButtonAndModifierPicks();
    void pressOnBorderPicksNothing();
    void pictureBoxTakesThePictureSize();
    void pickReadsPixelUnderPointer();
    void pickThroughMouseEvents();
    void megabyteOfTextStaysUsable();
    void pickFromSampleChart_data();
    void pickFromSampleChart();

    void commandsChangeVisibilityInOrder_data();
    void commandsChangeVisibilityInOrder();
    void pastePutsClipboardImageIntoPicture1();
    void pasteWithoutImageClearsPicture1_data();
    void pasteWithoutImageClearsPicture1();
    void pasteRestoresThePointer();
    void commandsLeaveTheColourAlone();
    void fileAndExitOnlySignal();

private:
    MainWindow *m_window = nullptr;
};

void MainWindowTest::init()
{
    m_window = new MainWindow;
}

void MainWindowTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void MainWindowTest::controlsSitWhereTheTableSays()
{
    QCOMPARE(m_window->size(), MainWindowClientSize);
    QCOMPARE(m_window->windowTitle(), u"Vantok"_s);
    for (const ControlPlace &row : MainWindowLayout) {
        auto *control = m_window->findChild<QWidget *>(QLatin1StringView(row.name));
        QVERIFY2(control, row.name);
        QCOMPARE(control->parentWidget(), m_window);
        QCOMPARE(control->geometry(), row.place.pixels());
    }
    QCOMPARE(m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(),
             qsizetype(MainWindowLayout.size()));
}

void MainWindowTest::stackingDecidesWhoGetsTheClick_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("sampleShown");
    QTest::addColumn<QString>("receiver");
    QTest::newRow("banner over the picture box") << QPoint(150, 100) << false << u"YA"_s;
    QTest::newRow("picture box beside the banner") << QPoint(150, 20) << false << u"Pic1"_s;
    QTest::newRow("hidden sample lets the picture box through")
        << QPoint(80, 40) << false << u"Pic1"_s;
    QTest::newRow("shown sample over the picture box") << QPoint(80, 40) << true << u"Pic2"_s;
    QTest::newRow("banner over the shown sample") << QPoint(150, 100) << true << u"YA"_s;
    QTest::newRow("picture box beyond the sample") << QPoint(150, 250) << true << u"Pic1"_s;
    QTest::newRow("button column over the picture box")
        << QPoint(56, 130) << false << u"Command1"_s;
    QTest::newRow("EXIT column over the picture box") << QPoint(56, 260) << false << u"Command4"_s;
    QTest::newRow("Zoom it! over SAMPLE") << QPoint(20, 200) << false << u"Command6"_s;
    QTest::newRow("SAMPLE over PASTE") << QPoint(20, 176) << false << u"Command5"_s;
    QTest::newRow("PASTE over FILE") << QPoint(20, 152) << false << u"Command2"_s;
    QTest::newRow("10 over 16") << QPoint(20, 104) << false << u"Op2"_s;
    QTest::newRow("green box over red box") << QPoint(30, 49) << false << u"LABw2"_s;
    QTest::newRow("blue box over green box") << QPoint(30, 64) << false << u"LABw3"_s;
    QTest::newRow("blue box over its letter") << QPoint(16, 68) << false << u"LABw3"_s;
    QTest::newRow("picture box over the image") << QPoint(200, 270) << false << u"Pic1"_s;
}

void MainWindowTest::stackingDecidesWhoGetsTheClick()
{
    QFETCH(QPoint, at);
    QFETCH(bool, sampleShown);
    QFETCH(QString, receiver);
    m_window->Im->show();
    m_window->Pic2->setVisible(sampleShown);
    QWidget *hit = m_window->childAt(at);
    QVERIFY(hit);
    while (hit->parentWidget() != m_window)
        hit = hit->parentWidget();
    QCOMPARE(hit->objectName(), receiver);
}

void MainWindowTest::tabOrderSkipsLabelsAndHiddenControls()
{
    m_window->show();
    QStringList order;
    QWidget *w = m_window->Pic1;
    do {
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == m_window)
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != m_window->Pic1);
    const QStringList expected{u"Pic1"_s,     u"Command1"_s, u"Command2"_s, u"Command3"_s,
                               u"Command4"_s, u"YA"_s,       u"LABw1"_s,    u"LABw2"_s,
                               u"LABw3"_s,    u"Op1"_s,      u"Op2"_s,      u"Command5"_s,
                               u"Command6"_s};
    QCOMPARE(order, expected);
}

void MainWindowTest::startsInItsInitialState()
{
    QCOMPARE(boxTexts(*m_window), QStringList({u"0"_s, u"0"_s, u"0"_s}));
    QVERIFY(m_window->Op2->value());
    QVERIFY(!m_window->Op1->value());
    QCOMPARE(m_window->Lab1->backColor(), composeColour(192, 192, 192));
    QVERIFY(m_window->cellR().isEmpty() && m_window->cellG().isEmpty() &&
            m_window->cellB().isEmpty());
    QVERIFY(!m_window->YA->isHidden());
    QVERIFY(!m_window->Pic1->isHidden());
    QVERIFY(m_window->Pic2->isHidden());
    QVERIFY(m_window->Im->isHidden());
    QVERIFY(!m_window->Pic1->hasPicture());
    QVERIFY(m_window->Im->picture().isNull());
    QVERIFY(m_window->Lab1->font().bold());
    QCOMPARE(m_window->Lab1->font().pointSizeF(), 13.5);
}

void MainWindowTest::picture1FocusedWhenShown()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QCOMPARE(QApplication::focusWidget(), m_window->Pic1);
}

void MainWindowTest::selectingHexAtStartWritesZeroAndPaintsBlack()
{
    QTest::mouseClick(m_window->Op1, Qt::LeftButton);
    QVERIFY(m_window->Op1->value());
    QCOMPARE(boxTexts(*m_window), QStringList({u"0"_s, u"0"_s, u"0"_s}));
    QCOMPARE(m_window->Lab1->backColor(), 0);
    QVERIFY(m_window->cellR().isNumber());
}

void MainWindowTest::typingRepaintsTheSwatch_data()
{
    QTest::addColumn<bool>("hexadecimal");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("red");
    QTest::newRow("hex ff is 255") << true << u"ff"_s << 255;
    QTest::newRow("hex reading stops at G") << true << u"1G"_s << 1;
    QTest::newRow("hex empty box is 0") << true << u""_s << 0;
    QTest::newRow("hex 100 paints as 255") << true << u"100"_s << 255;
    QTest::newRow("hex FFFF is negative, paints as 0") << true << u"FFFF"_s << 0;
    QTest::newRow("hex nine digits unreadable, paints as 0") << true << u"123456789"_s << 0;
    QTest::newRow("decimal 300 paints as 255") << false << u"300"_s << 255;
    QTest::newRow("decimal half rounds to even") << false << u"12.5"_s << 12;
    QTest::newRow("decimal forty thousand paints as 255") << false << u"40000"_s << 255;
    QTest::newRow("decimal negative paints as 0") << false << u"-5"_s << 0;
    QTest::newRow("decimal letters paint as 0") << false << u"abc"_s << 0;
    QTest::newRow("decimal cleared box paints as 0") << false << u""_s << 0;
}

void MainWindowTest::typingRepaintsTheSwatch()
{
    QFETCH(bool, hexadecimal);
    QFETCH(QString, typed);
    QFETCH(int, red);
    if (hexadecimal)
        QTest::mouseClick(m_window->Op1, Qt::LeftButton);
    typeInto(m_window->LABw2, u"9"_s);
    typeInto(m_window->LABw1, typed);
    QCOMPARE(m_window->LABw1->text(), typed);  // the box keeps what was typed
    QCOMPARE(m_window->Lab1->backColor(), composeColour(red, 9, 0));
}

void MainWindowTest::radixSwitchRewritesBoxesKeepingTheColour()
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(255, 18, 5));
    m_window->Pic1->setPicture(picture);
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(5, 5));
    const ColourValue colour = composeColour(255, 18, 5);
    QCOMPARE(m_window->Lab1->backColor(), colour);

    QTest::mouseClick(m_window->Op1, Qt::LeftButton);
    QCOMPARE(boxTexts(*m_window), QStringList({u"FF"_s, u"12"_s, u"5"_s}));
    QCOMPARE(m_window->Lab1->backColor(), colour);
    QTest::mouseClick(m_window->Op2, Qt::LeftButton);
    QCOMPARE(boxTexts(*m_window), QStringList({u"255"_s, u"18"_s, u"5"_s}));
    QCOMPARE(m_window->Lab1->backColor(), colour);
}

void MainWindowTest::decimalBlanksSurviveIntoHex()
{
    typeInto(m_window->LABw1, u" 7 "_s);
    QCOMPARE(m_window->LABw1->text(), u" 7 "_s);
    QCOMPARE(m_window->Lab1->backColor(), composeColour(7, 0, 0));
    QTest::mouseClick(m_window->Op1, Qt::LeftButton);
    QCOMPARE(m_window->LABw1->text(), u"7"_s);
}

void MainWindowTest::pickInHexModeFirstRewritesBoxesInDecimal()
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(52, 18, 5));
    m_window->Pic1->setPicture(picture);
    QTest::mouseClick(m_window->Op1, Qt::LeftButton);
    typeInto(m_window->LABw1, u"ff"_s);

    QStringList written;
    connect(m_window->LABw1, &TextBox::changed, m_window, [&] {
        written << m_window->LABw1->text() + (m_window->Op2->value() ? u"/10"_s : u"/16"_s);
    });
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(5, 5));

    QCOMPARE(written, QStringList({u"255/10"_s, u"52/10"_s}));
    QVERIFY(m_window->Op2->value());
    QCOMPARE(boxTexts(*m_window), QStringList({u"52"_s, u"18"_s, u"5"_s}));
    QCOMPARE(m_window->Lab1->backColor(), composeColour(52, 18, 5));
}

void MainWindowTest::pickInDecimalModeWritesEachBoxOnce()
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(7, 0, 0));
    m_window->Pic1->setPicture(picture);

    QList<ColourValue> swatches;
    for (TextBox *box : {m_window->LABw1, m_window->LABw2, m_window->LABw3})
        connect(box, &TextBox::changed, m_window, [&] { swatches << m_window->Lab1->backColor(); });
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(5, 5));

    // Every nested change already paints the complete new colour.
    const ColourValue picked = composeColour(7, 0, 0);
    QCOMPARE(swatches, QList<ColourValue>({picked, picked, picked}));
    QCOMPARE(boxTexts(*m_window), QStringList({u"7"_s, u"0"_s, u"0"_s}));
    QVERIFY(m_window->cellR().isText());
}

void MainWindowTest::anyButtonAndModifierPicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers();
    QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers();
    QTest::newRow("middle") << Qt::MiddleButton << Qt::KeyboardModifiers();
    QTest::newRow("left with shift") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("right with control and alt")
        << Qt::RightButton << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier);
}

void MainWindowTest::anyButtonAndModifierPicks()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    m_window->Pic1->setPicture(picture);
    QTest::mousePress(m_window->Pic1, button, modifiers, QPoint(5, 5));
    QCOMPARE(boxTexts(*m_window), QStringList({u"255"_s, u"0"_s, u"0"_s}));
    QTest::mouseRelease(m_window->Pic1, button, modifiers, QPoint(5, 5));
}

void MainWindowTest::pressOnBorderPicksNothing()
{
    QSignalSpy picks(m_window->Pic1, &PictureBox::mouseDown);
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(249, 100));
    QCOMPARE(picks.count(), 0);
    QCOMPARE(boxTexts(*m_window), QStringList({u"0"_s, u"0"_s, u"0"_s}));

    // An empty box reads as its plain back colour.
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(picks.count(), 1);
    QCOMPARE(boxTexts(*m_window), QStringList({u"192"_s, u"192"_s, u"192"_s}));
}

void MainWindowTest::pictureBoxTakesThePictureSize()
{
    const QSize designSize = m_window->Pic1->size();
    m_window->Pic1->setPicture(patternPicture({40, 30}));
    QCOMPARE(m_window->Pic1->size(), QSize(44, 34));
    QCOMPARE(m_window->Pic1->pos(), QPoint(56, 0));
    m_window->Pic1->setPicture(QImage());
    QCOMPARE(m_window->Pic1->size(), designSize);
}

// Every device pixel drawn inside the inner area reads back as exactly that pixel, and every
// picture pixel is drawn somewhere: natural size, nothing smoothed, at any device pixel ratio.
void MainWindowTest::pickReadsPixelUnderPointer()
{
    QImage picture = patternPicture({37, 23});
    picture.setPixel(0, 0, qRgba(0, 0, 0, 0));  // transparent: reads as the back colour
    QImage withAlpha = picture.convertToFormat(QImage::Format_ARGB32);
    withAlpha.setPixel(0, 0, qRgba(0, 0, 0, 0));
    m_window->Pic1->setPicture(withAlpha);
    m_window->YA->hide();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));

    const qreal ratio = m_window->devicePixelRatioF();
    const QImage screen = m_window->grab().toImage();
    QCOMPARE(screen.devicePixelRatio(), ratio);
    PictureBox *box = m_window->Pic1;
    const QPointF inner = box->pos() + box->contentsRect().topLeft();
    QSet<QRgb> seen;
    int compared = 0;
    for (int dy = 0; dy < screen.height(); ++dy) {
        for (int dx = 0; dx < screen.width(); ++dx) {
            const QPointF at = QPointF(dx, dy) / ratio - inner;
            const ColourValue c = box->point(at);
            if (c == NoColour)
                continue;
            const QRgb drawn = screen.pixel(dx, dy);
            QVERIFY2(
                c == composeColour(qRed(drawn), qGreen(drawn), qBlue(drawn)),
                qPrintable(u"device %1,%2 at %3,%4"_s.arg(dx).arg(dy).arg(at.x()).arg(at.y())));
            seen.insert(drawn & 0xFFFFFF);
            ++compared;
        }
    }
    QVERIFY(compared >= 37 * 23);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = (y == 0 ? 1 : 0); x < picture.width(); ++x)
            QVERIFY2(seen.contains(picture.pixel(x, y) & 0xFFFFFF),
                     qPrintable(u"pixel %1,%2 never drawn"_s.arg(x).arg(y)));
    QVERIFY(seen.contains(qRgb(192, 192, 192) & 0xFFFFFF));
}

// A press reaches the window at its device pixel divided by the ratio, and Qt rounds it to a whole
// logical pixel on its way to the widget. Every device pixel over the picture, up to the last
// column and row, with any button, must still pick the pixel drawn there, and no other one picks.
void MainWindowTest::pickThroughMouseEvents()
{
    const QImage picture = patternPicture({29, 19});
    m_window->Pic1->setPicture(picture);
    m_window->YA->hide();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    const qreal ratio = m_window->devicePixelRatioF();
    const QImage screen = m_window->grab().toImage();
    PictureBox *box = m_window->Pic1;
    QWindow *window = m_window->windowHandle();
    const QPointF inner = box->pos() + box->contentsRect().topLeft();
    const QRect boxDevice =
        QRectF(QPointF(box->pos()) * ratio, QSizeF(box->size()) * ratio).toAlignedRect();
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::MiddleButton, Qt::RightButton};
    QSignalSpy picks(box, &PictureBox::mouseDown);
    int picked = 0;
    for (int dy = boxDevice.top(); dy <= boxDevice.bottom(); ++dy) {
        for (int dx = boxDevice.left(); dx <= boxDevice.right(); ++dx) {
            const QPointF at = QPointF(dx, dy) / ratio;
            const Qt::MouseButton button = buttons[(dx + dy) % 3];
            QMouseEvent press(QEvent::MouseButtonPress, at, at, window->mapToGlobal(at), button,
                              button, Qt::NoModifier);
            QCoreApplication::sendEvent(window, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, at, at, window->mapToGlobal(at), button,
                                Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(window, &release);
            const QString where = u"device %1,%2"_s.arg(dx).arg(dy);
            const bool overPicture = box->point(at - inner) != NoColour;
            QVERIFY2(picks.count() == (overPicture ? 1 : 0), qPrintable(where));
            picks.clear();
            if (!overPicture)
                continue;
            const QRgb drawn = screen.pixel(dx, dy);
            const QStringList expected{QString::number(qRed(drawn)), QString::number(qGreen(drawn)),
                                       QString::number(qBlue(drawn))};
            QVERIFY2(boxTexts(*m_window) == expected, qPrintable(where));
            ++picked;
        }
    }
    QVERIFY(picked >= picture.width() * picture.height());
}

void MainWindowTest::megabyteOfTextStaysUsable()
{
    const QString huge(1 << 20, u'7');
    QApplication::clipboard()->setText(huge);
    m_window->LABw1->setFocus();
    m_window->LABw1->selectAll();
    m_window->LABw1->paste();
    QCOMPARE(m_window->LABw1->text().size(), huge.size());
    QCOMPARE(m_window->Lab1->backColor(), composeColour(255, 0, 0));
    QTest::keyClick(m_window->LABw1, Qt::Key_Backspace);
    QCOMPARE(m_window->LABw1->text().size(), huge.size() - 1);
    QTest::mouseClick(m_window->Op1, Qt::LeftButton);
    QCOMPARE(m_window->LABw1->text(), u"7FFFFFFF"_s);
}

void MainWindowTest::pickFromSampleChart_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QStringList>("components");
    QTest::newRow("margin") << QPoint(0, 0) << QStringList{u"191"_s, u"191"_s, u"191"_s};
    QTest::newRow("dark frame corner") << QPoint(4, 3) << QStringList{u"127"_s, u"127"_s, u"127"_s};
    QTest::newRow("light frame takes the corner")
        << QPoint(210, 3) << QStringList{u"255"_s, u"255"_s, u"255"_s};
    QTest::newRow("pure red") << QPoint(5, 4) << QStringList{u"255"_s, u"0"_s, u"0"_s};
    QTest::newRow("dithered green low") << QPoint(8, 4) << QStringList{u"255"_s, u"23"_s, u"0"_s};
    QTest::newRow("dithered green high") << QPoint(9, 4) << QStringList{u"255"_s, u"24"_s, u"0"_s};
    QTest::newRow("mid field") << QPoint(57, 100) << QStringList{u"127"_s, u"184"_s, u"64"_s};
    QTest::newRow("last field pixel")
        << QPoint(209, 175) << QStringList{u"127"_s, u"120"_s, u"112"_s};
}

// The sample chart fills Pic2's inner area and picks report its stored pixels.
void MainWindowTest::pickFromSampleChart()
{
    QFETCH(QPoint, pixel);
    QFETCH(QStringList, components);
    QTest::mouseClick(m_window->Command5, Qt::LeftButton);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QCOMPARE(m_window->Pic2->contentsRect().size(), QSize(215, 180));
    QCOMPARE(m_window->childAt(m_window->Pic2->pos() + QPoint(2, 2) + pixel), m_window->Pic2);
    QTest::mouseClick(m_window->Pic2, Qt::LeftButton, {}, QPoint(2, 2) + pixel);
    QCOMPARE(boxTexts(*m_window), components);
}

void MainWindowTest::commandsChangeVisibilityInOrder_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("changes");
    QTest::newRow("PASTE hides the banner, then the sample")
        << u"Command2"_s << QStringList({u"YA hidden"_s, u"Pic2 hidden"_s});
    QTest::newRow("SAMPLE hides the banner, then shows the sample")
        << u"Command5"_s << QStringList({u"YA hidden"_s, u"Pic2 shown"_s});
    QTest::newRow("the banner shows the sample, then hides itself")
        << u"YA"_s << QStringList({u"Pic2 shown"_s, u"YA hidden"_s});
}

void MainWindowTest::commandsChangeVisibilityInOrder()
{
    QFETCH(QString, button);
    QFETCH(QStringList, changes);
    m_window->show();
    if (button == u"Command2")
        m_window->Pic2->show();  // so that hiding it is a change to watch
    VisibilityLog log({m_window->YA, m_window->Pic2, m_window->Pic1, m_window->Im});
    QApplication::clipboard()->clear();
    QTest::mouseClick(m_window->findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(log.entries, changes);
}

void MainWindowTest::pastePutsClipboardImageIntoPicture1()
{
    const QImage picture = patternPicture({16, 12});
    QApplication::clipboard()->setImage(picture);
    QTest::mouseClick(m_window->Command2, Qt::LeftButton);
    QVERIFY(m_window->Pic1->hasPicture());
    QCOMPARE(m_window->Pic1->shownPicture(), picture);
    QCOMPARE(m_window->Pic1->size(), QSize(20, 16));
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(2 + 5, 2 + 3));
    const QRgb p = picture.pixel(5, 3);
    QCOMPARE(boxTexts(*m_window), QStringList({QString::number(qRed(p)), QString::number(qGreen(p)),
                                               QString::number(qBlue(p))}));
}

void MainWindowTest::pasteWithoutImageClearsPicture1_data()
{
    QTest::addColumn<QString>("clipboardText");
    QTest::newRow("text only") << u"not a picture"_s;
    QTest::newRow("empty clipboard") << QString();
}

void MainWindowTest::pasteWithoutImageClearsPicture1()
{
    QFETCH(QString, clipboardText);
    m_window->Pic1->setPicture(patternPicture({8, 8}));
    if (clipboardText.isNull())
        QApplication::clipboard()->clear();
    else
        QApplication::clipboard()->setText(clipboardText);
    m_window->Pic2->show();
    QTest::mouseClick(m_window->Command2, Qt::LeftButton);
    QVERIFY(!m_window->Pic1->hasPicture());
    QVERIFY(m_window->YA->isHidden());
    QVERIFY(m_window->Pic2->isHidden());
}

void MainWindowTest::pasteRestoresThePointer()
{
    QApplication::clipboard()->setImage(patternPicture({4, 4}));
    QTest::mouseClick(m_window->Command2, Qt::LeftButton);
    QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
}

void MainWindowTest::commandsLeaveTheColourAlone()
{
    QTest::mouseClick(m_window->Op1, Qt::LeftButton);
    typeInto(m_window->LABw1, u"1F"_s);
    typeInto(m_window->LABw3, u"x"_s);
    const ColourState before = colourState(*m_window);
    QApplication::clipboard()->setImage(patternPicture({3, 3}));
    for (QPushButton *command : {m_window->Command2, m_window->Command5,
                                 static_cast<QPushButton *>(m_window->YA), m_window->Command1})
        QTest::mouseClick(command, Qt::LeftButton);
    QCOMPARE(colourState(*m_window), before);
}

void MainWindowTest::fileAndExitOnlySignal()
{
    QSignalSpy file(m_window, &MainWindow::fileRequested);
    QSignalSpy exit(m_window, &MainWindow::exitRequested);
    QTest::mouseClick(m_window->Command1, Qt::LeftButton);
    QTest::mouseClick(m_window->Command4, Qt::LeftButton);
    QCOMPARE(file.count(), 1);
    QCOMPARE(exit.count(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
