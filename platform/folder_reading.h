// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <tuple>
#include <vector>

namespace vantok
{

// Whether the folder exists and its entries can be listed.
bool isReadableFolder(const QString &directory);

// The names of the folder's files, hidden ones left out, in listing order.
QStringList fileNamesIn(const QString &directory);
// The names of the folder's sub-folders, hidden ones left out, in listing order.
QStringList folderNamesIn(const QString &directory);

// A name with its case-folded form, the form wildcard patterns match against.
struct FoldedName {
    QString folded;
    QString name;
    bool operator<(const FoldedName &other) const
    {
        return std::tie(folded, name) < std::tie(other.folded, other.name);
    }
};

// Orders names without regard to letter case, and by code point where only case differs, so the
// order does not depend on the listing or on the locale.
std::vector<FoldedName> sortedCaseInsensitively(QStringList names);
void sortCaseInsensitively(QStringList &names);

}  // namespace vantok
