// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the built-in sample chart as a BMP file, to look at it or compare it with a capture.
#include "core/chart_bitmap.h"
#include "core/sample_chart.h"

#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: write_chart_bmp <output.bmp>\n";
        return 2;
    }
    QFile out(QFile::decodeName(argv[1]));
    const QByteArray bitmap = vantok::chartBitmap(vantok::generateSampleChart());
    if (!out.open(QIODevice::WriteOnly) || out.write(bitmap) != bitmap.size() || !out.flush()) {
        err << "write_chart_bmp: cannot write " << out.fileName() << ": " << out.errorString()
            << '\n';
        return 1;
    }
    return 0;
}
