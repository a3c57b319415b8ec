// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/pcx/pcx_plugin.h"

#include "pictures/pcx/pcx_handler.h"

namespace vantok
{

QImageIOPlugin::Capabilities PcxPlugin::capabilities(QIODevice *device,
                                                     const QByteArray &format) const
{
    if (format == "pcx")
        return CanRead;
    if (!format.isEmpty() || !device || !device->isReadable())
        return {};
    return PcxHandler::canRead(device) ? CanRead : Capabilities{};
}

QImageIOHandler *PcxPlugin::create(QIODevice *device, const QByteArray &format) const
{
    auto *handler = new PcxHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? QByteArrayLiteral("pcx") : format);
    return handler;
}

}  // namespace vantok
