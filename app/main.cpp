// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/first_paint_report.h"
#include "app/windows.h"
#include "platform/accessibility.h"
#include "platform/picture_loader.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vantok::FirstPaintReport::installIfAsked();
    QApplication::setApplicationName(QStringLiteral("Vantok"));
    QApplication::setApplicationVersion(QStringLiteral(VANTOK_VERSION));
    vantok::applyPictureSizeLimit();
    vantok::installAccessibleRoles();

    vantok::Windows windows;
    windows.mainWindow();
    return QApplication::exec();
}
