// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/folder_reading.h"

#include <QStringList>

#include <memory>

namespace vantok::test
{

// A listing as the folder reader hands it to a list: sorted, shared.
inline std::shared_ptr<const SortedNames> snapshot(const QStringList &names)
{
    SortedNames::Builder builder;
    for (const QString &name : names)
        builder.add(name);
    return std::make_shared<SortedNames>(builder.sorted());
}

}  // namespace vantok::test
