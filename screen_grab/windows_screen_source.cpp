// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen_grab/windows_screen_source.h"

#include <QGuiApplication>
#include <QScreen>

#include <windows.h>

using namespace Qt::StringLiterals;

namespace vantok
{

namespace
{

// Closes what GDI handed out, on every path.
struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};
struct MemoryDc {
    HDC dc;
    explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
    ~MemoryDc() { DeleteDC(dc); }
};
struct Bitmap {
    HBITMAP bitmap;
    Bitmap(HDC like, int width, int height) : bitmap(CreateCompatibleBitmap(like, width, height)) {}
    ~Bitmap() { DeleteObject(bitmap); }
};

// Each screen's device pixels in the virtual screen. Qt keeps a screen's top-left in device
// pixels on Windows and divides only its size by the screen's ratio.
QList<ScreenPart> screenParts(QPoint desktopOrigin, QRect picture)
{
    QList<ScreenPart> parts;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect logical = screen->geometry();
        const QSize device = (QSizeF(logical.size()) * screen->devicePixelRatio()).toSize();
        parts.append({screen->name(), QRect(logical.topLeft() - desktopOrigin, device) & picture});
    }
    return parts;
}

}  // namespace

void WindowsScreenSource::grabNow()
{
    const QRect desktop(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                        GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    QImage picture(desktop.size(), QImage::Format_RGB32);
    if (desktop.isEmpty() || picture.isNull())
        return emit failed(GrabFailure::Failed, u"Windows reports no screen to read"_s);

    const ScreenDc screen;
    const MemoryDc memory(screen.dc);
    const Bitmap bitmap(screen.dc, desktop.width(), desktop.height());
    const HGDIOBJ previous = SelectObject(memory.dc, bitmap.bitmap);
    const bool copied = BitBlt(memory.dc, 0, 0, desktop.width(), desktop.height(), screen.dc,
                               desktop.x(), desktop.y(), SRCCOPY | CAPTUREBLT);
    SelectObject(memory.dc, previous);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = desktop.width();
    format.bmiHeader.biHeight = -desktop.height();  // top-down, as QImage holds its rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    if (!copied || GetDIBits(memory.dc, bitmap.bitmap, 0, desktop.height(), picture.bits(), &format,
                             DIB_RGB_COLORS) != desktop.height())
        return emit failed(GrabFailure::Failed, u"Windows would not copy the screen"_s);
    // GDI leaves the fourth byte zero; a 32-bit RGB picture holds 0xFF there.
    for (int y = 0; y < picture.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            row[x] |= 0xFF000000u;
    }

    const QList<ScreenPart> parts = screenParts(desktop.topLeft(), picture.rect());
    emit grabbed(picture, parts);
}

}  // namespace vantok
