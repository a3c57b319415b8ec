// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/caption_fit.h"

#include <QAbstractButton>
#include <QFontInfo>

namespace vantok
{

void fitCaptionToWidth(QAbstractButton *button)
{
    constexpr int SmallestReadablePixels = 9;
    button->setStyleSheet(QStringLiteral("spacing: 3px;"));
    QFont font = button->font();
    int pixels = QFontInfo(font).pixelSize();
    while (button->sizeHint().width() > button->width() && pixels > SmallestReadablePixels) {
        font.setPixelSize(--pixels);
        button->setFont(font);
    }
}

}  // namespace vantok
