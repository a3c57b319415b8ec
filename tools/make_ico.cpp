// SPDX-License-Identifier: GPL-3.0-or-later
// Build step: turns text drawings of icon images into one ICO file.
#include "tools/ico_file.h"

#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QTextStream err(stderr);
    if (argc < 3) {
        err << "usage: make_ico <output.ico> <image.txt>...\n";
        return 2;
    }
    QList<vantok::IconSource> images;
    for (int i = 2; i < argc; ++i) {
        QString error;
        const auto image = vantok::IconSource::read(QFile::decodeName(argv[i]), &error);
        if (!image) {
            err << "make_ico: " << error << '\n';
            return 1;
        }
        images.append(*image);
    }
    QFile out(QFile::decodeName(argv[1]));
    const QByteArray ico = vantok::icoFile(images);
    if (!out.open(QIODevice::WriteOnly) || out.write(ico) != ico.size() || !out.flush()) {
        err << "make_ico: cannot write " << out.fileName() << ": " << out.errorString() << '\n';
        return 1;
    }
    return 0;
}
