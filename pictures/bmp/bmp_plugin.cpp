// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/bmp/bmp_plugin.h"

#include "pictures/bmp/bmp_handler.h"

namespace vantok
{

QImageIOPlugin::Capabilities BmpPlugin::capabilities(QIODevice *device,
                                                     const QByteArray &format) const
{
    if (format == "bmp")
        return CanRead;
    if (!format.isEmpty() || !device || !device->isReadable())
        return {};
    return BmpHandler::canRead(device) ? CanRead : Capabilities{};
}

QImageIOHandler *BmpPlugin::create(QIODevice *device, const QByteArray &format) const
{
    auto *handler = new BmpHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? QByteArrayLiteral("bmp") : format);
    return handler;
}

}  // namespace vantok
