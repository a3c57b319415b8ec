// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures from outside the main window's own commands and the colour copied out of it: the
// window's one load from outside, drops of real drag data, Ctrl+C and the swatch's menu.

#include "controls/colour_label.h"
#include "controls/image_control.h"
#include "controls/picture_box.h"
#include "controls/text_box.h"
#include "controls/wrapped_button.h"
#include "main_window/main_window.h"
#include "pictures/picture_source.h"
#include "tests/support/odd_file_types.h"
#include "testsupport/picture_files.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using namespace vantok;
using namespace vantok::test;

namespace
{

const QImage EarlierPicture = patternPicture({5, 6}, 9);
const QImage FirstPicture = patternPicture({20, 10}, 1);
const QImage SecondPicture = patternPicture({12, 30}, 2);
const QImage DataPicture = patternPicture({9, 7}, 3);

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
    void drops_data();
    void drops();
    void copyShortcut_data();
    void copyShortcut();
    void swatchMenuCopiesEachForm_data();
    void swatchMenuCopiesEachForm();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    std::unique_ptr<QMimeData> dragData(const QString &kind) const;

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
#ifdef Q_OS_UNIX
    QVERIFY(writeFileNamed(QFile::encodeName(path(u"caf"_s)) + "\xe9.bmp",
                           encoded(SecondPicture, "bmp")));
#endif
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

// Drag data as a file manager or another program offers it.
std::unique_ptr<QMimeData> OutsidePicturesTest::dragData(const QString &kind) const
{
    auto data = std::make_unique<QMimeData>();
    const auto offer = [&](const QList<QUrl> &urls) {
        data->setUrls(urls);
        data->setText(urls.constFirst().toString());  // file managers offer the text as well
    };
    if (kind == u"file")
        offer({QUrl::fromLocalFile(path(u"first.bmp"_s))});
    else if (kind == u"two files")
        offer({QUrl::fromLocalFile(path(u"first.bmp"_s)),
               QUrl::fromLocalFile(path(u"second.pcx"_s))});
    else if (kind == u"broken file")
        offer({QUrl::fromLocalFile(path(u"broken.png"_s))});
    else if (kind == u"file named in Latin-1")  // a file manager percent-encodes its bytes
        offer({QUrl::fromEncoded(
            "file://" + (QFile::encodeName(path(u"caf"_s)) + "\xe9.bmp").toPercentEncoding("/"))});
    else if (kind == u"http")
        offer({QUrl(u"http://example.org/first.bmp"_s)});
    else if (kind == u"folder")
        offer({QUrl::fromLocalFile(path(u"folder.png"_s))});
    else if (kind == u"image data")
        data->setData(u"image/png"_s, encoded(DataPicture, "png"));
    else if (kind == u"text")
        data->setText(u"128"_s);
    return data;
}

void OutsidePicturesTest::drops_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("target");
    QTest::addColumn<Qt::DropActions>("actions");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QImage>("loaded");  // null: nothing changes

    const Qt::DropActions any = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QTest::newRow("picture file is loaded")
        << u"file"_s << u"Pic1"_s << any << true << FirstPicture;
    QTest::newRow("picture file over a component box is loaded")
        << u"file"_s << u"LABw1"_s << any << true << FirstPicture;
    QTest::newRow("picture file over a button is loaded")
        << u"file"_s << u"Command1"_s << any << true << FirstPicture;
    QTest::newRow("image data goes through the loader")
        << u"image data"_s << u"Pic1"_s << any << true << DataPicture;
#ifdef Q_OS_UNIX  // names on Windows are UTF-16, which Qt always keeps whole
    QTest::newRow("a file whose name is not UTF-8 is loaded")
        << u"file named in Latin-1"_s << u"Pic1"_s << any << true << SecondPicture;
#endif
    QTest::newRow("of two files the first is loaded")
        << u"two files"_s << u"Pic1"_s << any << true << FirstPicture;
    QTest::newRow("a file that does not load changes nothing")
        << u"broken file"_s << u"Pic1"_s << any << true << QImage();
    QTest::newRow("an http URL is refused") << u"http"_s << u"Pic1"_s << any << false << QImage();
    QTest::newRow("a folder is refused") << u"folder"_s << u"Pic1"_s << any << false << QImage();
    QTest::newRow("a drag that only moves is refused")
        << u"file"_s << u"Pic1"_s << Qt::DropActions(Qt::MoveAction) << false << QImage();
    QTest::newRow("text is no picture") << u"text"_s << u"Pic1"_s << any << false << QImage();
}

// Delivered as the window system delivers a drag: to the control under the pointer.
void OutsidePicturesTest::drops()
{
    QFETCH(QString, kind);
    QFETCH(QString, target);
    QFETCH(Qt::DropActions, actions);
    QFETCH(bool, accepted);
    QFETCH(QImage, loaded);
    auto *control = m_window->findChild<QWidget *>(target);
    const std::unique_ptr<QMimeData> data = dragData(kind);
    const QStringList shown = shownControls(*m_window);
    const QStringList colours = colourState(*m_window);

    const QPoint at = control->rect().center();
    QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(control, &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    if (accepted)
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(at, actions, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(control, &drop);
    QCOMPARE(drop.isAccepted(), accepted);

    QCOMPARE(colourState(*m_window), colours);
    if (loaded.isNull()) {
        QCOMPARE(m_window->Pic1->shownPicture(), asShown(EarlierPicture));
        QCOMPARE(shownControls(*m_window), shown);
    } else {
        QCOMPARE(m_window->Pic1->shownPicture(), asShown(loaded));
        QCOMPARE(shownControls(*m_window), QStringList{u"Pic1"_s});
    }
}

void OutsidePicturesTest::copyShortcut_data()
{
    QTest::addColumn<bool>("pick");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("copied");
    QTest::newRow("before any pick, the window's grey") << false << u"Pic1"_s << u"#C0C0C0"_s;
    QTest::newRow("after a pick, the picked colour") << true << u"Pic1"_s << u"#FF800A"_s;
    QTest::newRow("from a button as well") << true << u"Command5"_s << u"#FF800A"_s;
    QTest::newRow("a component box copies its own text") << true << u"LABw1"_s << u"255"_s;
}

void OutsidePicturesTest::copyShortcut()
{
    QFETCH(bool, pick);
    QFETCH(QString, focus);
    QFETCH(QString, copied);
    QImage orange(8, 8, QImage::Format_RGB32);
    orange.fill(qRgb(255, 128, 10));
    m_window->Pic1->setPicture(orange);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    if (pick)
        QTest::mouseClick(m_window->Pic1, Qt::LeftButton, {}, QPoint(5, 5));
    auto *focused = m_window->findChild<QWidget *>(focus);
    focused->setFocus();
    if (auto *box = qobject_cast<TextBox *>(focused))
        box->selectAll();
    QApplication::clipboard()->setText(u"before"_s);

    QTest::keyClick(focused, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), copied);
}

void OutsidePicturesTest::swatchMenuCopiesEachForm_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("copied");
    QTest::newRow("hash") << 0 << u"#FF800A"_s;
    QTest::newRow("rgb function") << 1 << u"rgb(255, 128, 10)"_s;
    QTest::newRow("components") << 2 << u"255, 128, 10"_s;
}

void OutsidePicturesTest::swatchMenuCopiesEachForm()
{
    QFETCH(int, item);
    QFETCH(QString, copied);
    m_window->LABw1->setText(u"255"_s);
    m_window->LABw2->setText(u"128"_s);
    m_window->LABw3->setText(u"10"_s);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));

    QStringList offered;
    QTimer::singleShot(0, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (const QAction *action : menu->actions())
            offered.append(action->text());
        menu->actions().at(item)->trigger();
        menu->close();
    });
    const QPoint at = m_window->Lab1->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, m_window->Lab1->mapToGlobal(at));
    QApplication::sendEvent(m_window->Lab1, &request);

    QCOMPARE(offered,
             QStringList({u"Copy #FF800A"_s, u"Copy rgb(255, 128, 10)"_s, u"Copy 255, 128, 10"_s,
                          u"Copy hsl(29, 100%, 52%)"_s, u"Copy oklch(73.21% 0.1849 52.51)"_s,
                          u"Copy darkorange (strong orange)"_s}));
    QCOMPARE(QApplication::clipboard()->text(), copied);
}

QTEST_MAIN(OutsidePicturesTest)
#include "test_outside_pictures.moc"
