// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImageIOPlugin>

namespace vantok
{

// Offers BmpHandler to QImageReader, by the "bmp" format name or by a look at the content. Qt
// asks plugins before its built-in decoders, so every program that links this one reads BMP
// files here; writing BMP stays with Qt.
class BmpPlugin : public QImageIOPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "bmp.json")

public:
    Capabilities capabilities(QIODevice *device, const QByteArray &format) const override;
    QImageIOHandler *create(QIODevice *device,
                            const QByteArray &format = QByteArray()) const override;
};

}  // namespace vantok
