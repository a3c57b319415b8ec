// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures from outside the main window's own commands: the window's one load from outside.

#include "main_window/main_window.h"
#include "platform/colour_label.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/picture_source.h"
#include "platform/text_box.h"
#include "platform/wrapped_button.h"
#include "tests/support/picture_files.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using namespace vantok;
using namespace vantok::test;

namespace
{

const QImage EarlierPicture = patternPicture({5, 6}, 9);
const QImage FirstPicture = patternPicture({20, 10}, 1);
const QImage SecondPicture = patternPicture({12, 30}, 2);

QImage asShown(const QImage &picture)
{
    return picture.convertToFormat(QImage::Format_RGB32);
}

QStringList shownControls(const MainWindow &w)
{
    QStringList names;
    for (const QWidget *control :
         std::initializer_list<const QWidget *>{w.Im, w.Pic1, w.YA, w.Pic2})
        if (!control->isHidden())
            names.append(control->objectName());
    return names;
}

QStringList colourState(const MainWindow &w)
{
    return {w.LABw1->text(), w.LABw2->text(), w.LABw3->text(),
            QString::number(w.Lab1->backColor())};
}

}  // namespace

class OutsidePicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openShowsPic1AloneUnderHourglass();
    void failedOpenChangesNothing();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    MainWindow *m_window = nullptr;
};

void OutsidePicturesTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeFile(path(u"first.bmp"_s), encoded(FirstPicture, "bmp")));
    QVERIFY(writeFile(path(u"second.pcx"_s), pcxFile(SecondPicture)));
    QVERIFY(writeFile(path(u"broken.png"_s), encoded(FirstPicture, "png").left(60)));
    QVERIFY(QDir(m_dir.path()).mkdir(u"folder.png"_s));
}

void OutsidePicturesTest::init()
{
    m_window = new MainWindow;
    m_window->Pic1->setPicture(EarlierPicture);
    m_window->Im->show();  // so that hiding it is a change to see
    m_window->Pic2->show();
}

void OutsidePicturesTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

// The picture box takes its new size while the main window shows the hourglass.
void OutsidePicturesTest::openShowsPic1AloneUnderHourglass()
{
    struct PointerAtResize : QObject {
        const QWidget *window = nullptr;
        std::optional<Qt::CursorShape> shape;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Resize && window->testAttribute(Qt::WA_SetCursor))
                shape = window->cursor().shape();
            return false;
        }
    } watch;
    watch.window = m_window;
    m_window->show();  // a hidden box takes its size without a resize event
    m_window->Pic1->installEventFilter(&watch);
    const QStringList colours = colourState(*m_window);

    QVERIFY(m_window->openPicture(PictureSource::file(path(u"second.pcx"_s)), m_window));
    QCOMPARE(m_window->Pic1->shownPicture(), asShown(SecondPicture));
    QCOMPARE(shownControls(*m_window), QStringList{u"Pic1"_s});
    QCOMPARE(watch.shape, Qt::WaitCursor);
    QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(colourState(*m_window), colours);
}

void OutsidePicturesTest::failedOpenChangesNothing()
{
    const QStringList shown = shownControls(*m_window);
    const QStringList colours = colourState(*m_window);
    for (const QString &name : {u"broken.png"_s, u"missing.bmp"_s, u"folder.png"_s}) {
        QVERIFY2(!m_window->openPicture(PictureSource::file(path(name)), m_window),
                 qPrintable(name));
        QCOMPARE(m_window->Pic1->shownPicture(), asShown(EarlierPicture));
        QCOMPARE(shownControls(*m_window), shown);
        QCOMPARE(colourState(*m_window), colours);
        QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    }
}

QTEST_MAIN(OutsidePicturesTest)
#include "test_outside_pictures.moc"
