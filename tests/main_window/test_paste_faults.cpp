// SPDX-License-Identifier: GPL-3.0-or-later
// "PASTE" from clipboard content that fails: an owner that has gone away or stopped answering,
// bytes that are no picture, pictures cut short, and pictures far over the size limit.

#include "controls/colour_label.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "controls/wrapped_button.h"
#include "main_window/main_window.h"
#include "pictures/picture_loader.h"
#include "testsupport/picture_files.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace vantok;
using namespace vantok::test;

namespace
{

const QString DecodedPicture = u"application/x-qt-image"_s;

// Clipboard content as another program offers it: the formats it names, and what it hands over
// when asked for one (nothing for a format it named but no longer delivers). Notes how often it
// was asked and the window's pointer at each question.
class ForeignOffer : public QMimeData
{
public:
    ForeignOffer(QStringList offered, QHash<QString, QVariant> answers, const QWidget *window)
        : m_offered(std::move(offered)), m_answers(std::move(answers)), m_window(window)
    {
    }

    mutable int formatQuestions = 0;
    mutable QList<Qt::CursorShape> pointersWhileAsked;

    QStringList formats() const override
    {
        ++formatQuestions;
        pointersWhileAsked.append(m_window->cursor().shape());
        return m_offered;
    }

protected:
    QVariant retrieveData(const QString &format, QMetaType) const override
    {
        pointersWhileAsked.append(m_window->cursor().shape());
        return m_answers.value(format);
    }

private:
    QStringList m_offered;
    QHash<QString, QVariant> m_answers;
    const QWidget *m_window;
};

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// Small as a file, but over the limit once held as the 32-bit pixels the picture box shows.
QImage overLimitOneBit()
{
    QImage picture(12000, 12000, QImage::Format_Mono);
    picture.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 50)});
    picture.fill(1);
    return picture;
}

using Answers = QHash<QString, QVariant>;

}  // namespace

class PasteFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void failingClipboardLeavesPicture1Empty_data();
    void failingClipboardLeavesPicture1Empty();
    void ownerNotAnsweringIsAskedOnce();
    void pickAnswersAfterFailedPaste();

private:
    ForeignOffer *offer(QStringList offered, Answers answers = {});

    MainWindow *m_window = nullptr;
};

void PasteFaultsTest::initTestCase()
{
    applyPictureSizeLimit();
}

void PasteFaultsTest::init()
{
    m_window = new MainWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_window->Pic1->setPicture(patternPicture({8, 8}));
    m_window->Pic2->show();
}

void PasteFaultsTest::cleanup()
{
    QApplication::clipboard()->clear();
    delete m_window;
    m_window = nullptr;
}

// The clipboard takes ownership of the offer.
ForeignOffer *PasteFaultsTest::offer(QStringList offered, Answers answers)
{
    auto *content = new ForeignOffer(std::move(offered), std::move(answers), m_window);
    QApplication::clipboard()->setMimeData(content);
    content->formatQuestions = 0;
    content->pointersWhileAsked.clear();
    return content;
}

void PasteFaultsTest::failingClipboardLeavesPicture1Empty_data()
{
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<Answers>("answers");

    const QByteArray png = encoded(patternPicture({40, 30}), "png");
    const QByteArray bmp = encoded(patternPicture({40, 30}), "bmp");
    QTest::newRow("owner gone: named a PNG, delivers nothing")
        << QStringList{u"image/png"_s} << Answers{};
    QTest::newRow("owner gone: named a decoded picture, delivers nothing")
        << QStringList{DecodedPicture} << Answers{};
    QTest::newRow("owner not answering: names nothing") << QStringList{} << Answers{};
    QTest::newRow("random bytes as a PNG")
        << QStringList{u"image/png"_s} << Answers{{u"image/png"_s, randomBytes(4096)}};
    QTest::newRow("PNG cut in half")
        << QStringList{u"image/png"_s} << Answers{{u"image/png"_s, png.left(png.size() / 2)}};
    QTest::newRow("BMP cut in its pixels, which its decoder would pass as whole")
        << QStringList{u"image/bmp"_s} << Answers{{u"image/bmp"_s, bmp.chopped(100)}};
    QTest::newRow("every offered format broken")
        << QStringList{u"image/png"_s, u"image/bmp"_s, u"text/plain"_s}
        << Answers{{u"image/png"_s, png.left(40)},
                   {u"image/bmp"_s, bmp.left(30)},
                   {u"text/plain"_s, QByteArray("a picture")}};
    QTest::newRow("1-bit PNG of 12000 x 12000, 576 MB as 32-bit pixels")
        << QStringList{u"image/png"_s}
        << Answers{{u"image/png"_s, encoded(overLimitOneBit(), "png")}};
    QTest::newRow("1-bit picture of 12000 x 12000 handed over decoded")
        << QStringList{DecodedPicture} << Answers{{DecodedPicture, overLimitOneBit()}};
    QTest::newRow("8-bit picture of 12000 x 12000 handed over decoded")
        << QStringList{DecodedPicture}
        << Answers{{DecodedPicture, QImage(12000, 12000, QImage::Format_Indexed8)}};
}

// Pic1 is left without a picture, the hourglass was up while the clipboard was read and is gone
// afterwards, the other PASTE steps ran, and the colour was not touched.
void PasteFaultsTest::failingClipboardLeavesPicture1Empty()
{
    QFETCH(QStringList, offered);
    QFETCH(Answers, answers);
    const QStringList boxes{m_window->LABw1->text(), m_window->LABw2->text(),
                            m_window->LABw3->text()};
    const ColourValue swatch = m_window->Lab1->backColor();
    const ForeignOffer *content = offer(offered, answers);

    QTest::mouseClick(m_window->Command2, Qt::LeftButton);

    QVERIFY(!m_window->Pic1->hasPicture());
    QVERIFY(!content->pointersWhileAsked.isEmpty());
    for (const Qt::CursorShape shape : content->pointersWhileAsked)
        QCOMPARE(shape, Qt::WaitCursor);
    QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(m_window->YA->isHidden());
    QVERIFY(m_window->Pic2->isHidden());
    QCOMPARE(
        QStringList({m_window->LABw1->text(), m_window->LABw2->text(), m_window->LABw3->text()}),
        boxes);
    QCOMPARE(m_window->Lab1->backColor(), swatch);
}

// An owner that holds the clipboard but does not answer makes every question wait out the
// platform's timeout (5 s on X11); asking whether it has a picture in any decodable format would
// ask once per format.
void PasteFaultsTest::ownerNotAnsweringIsAskedOnce()
{
    const ForeignOffer *content = offer({});
    QTest::mouseClick(m_window->Command2, Qt::LeftButton);
    QCOMPARE(content->formatQuestions, 1);
}

void PasteFaultsTest::pickAnswersAfterFailedPaste()
{
    offer({u"image/png"_s}, {{u"image/png"_s, randomBytes(64)}});
    QTest::mouseClick(m_window->Command2, Qt::LeftButton);
    const QImage picture = patternPicture({6, 4}, 3);
    QApplication::clipboard()->setImage(picture);
    QTest::mouseClick(m_window->Command2, Qt::LeftButton);
    QVERIFY(m_window->Pic1->hasPicture());
    QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(2 + 4, 2 + 1));
    const QRgb expected = picture.pixel(4, 1);
    QCOMPARE(
        QStringList({m_window->LABw1->text(), m_window->LABw2->text(), m_window->LABw3->text()}),
        QStringList({QString::number(qRed(expected)), QString::number(qGreen(expected)),
                     QString::number(qBlue(expected))}));
}

QTEST_MAIN(PasteFaultsTest)
#include "test_paste_faults.moc"
