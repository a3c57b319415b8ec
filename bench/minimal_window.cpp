// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for Vantok's start-up time and memory: the least a Qt Widgets program with a
// window of a few controls costs. Started by scripts/bench.sh with VANTOK_REPORT_FIRST_PAINT=1.

#include "app/first_paint_report.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vantok::FirstPaintReport::installIfAsked();

    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(307, 283);  // the main window's size
    (new QLabel(QStringLiteral("RGB"), &window))->setGeometry(8, 8, 41, 18);
    (new QLineEdit(QStringLiteral("0"), &window))->setGeometry(16, 32, 33, 18);
    (new QPushButton(QStringLiteral("FILE"), &window))->setGeometry(0, 128, 57, 25);
    (new QPushButton(QStringLiteral("EXIT"), &window))->setGeometry(0, 256, 57, 25);
    window.show();
    return QApplication::exec();
}
