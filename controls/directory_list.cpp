// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/directory_list.h"
#include "system/folder_reading.h"

#include <QApplication>
#include <QDir>
#include <QStyle>

namespace vantok
{

namespace
{

constexpr int PathRole = Qt::UserRole;

// The directory and its ancestors, root first.
QStringList chainTo(const QString &directory)
{
    QStringList chain;
    QDir dir(directory);
    do
        chain.prepend(QDir::toNativeSeparators(dir.absolutePath()));
    while (dir.cdUp());
    return chain;
}

}  // namespace

DirectoryList::DirectoryList(QWidget *parent) : DirectoryList(SystemVolumes(), parent) {}

DirectoryList::DirectoryList(const VolumeSource &source, QWidget *parent)
    : QTreeWidget(parent), m_drives(driveRoots(source))
{
    setHeaderHidden(true);
    setHeaderLabel(QStringLiteral("Folders"));  // screen readers still read the hidden header
    setRootIsDecorated(false);
    setIndentation(8);  // a deep chain still leaves room for the folder names
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setEditTriggers(NoEditTriggers);
    for (const QString &drive : m_drives)
        m_currentDirectories.insert(drive, drive);
    // An entry is entered as the folder it names, even a drive's root; its path is read before
    // the move rebuilds every item.
    connect(this, &QAbstractItemView::activated, this,
            [this](const QModelIndex &index) { moveTo(index.data(PathRole).toString()); });
    connect(&m_subFolders, &FolderReader::namesRead, this, &DirectoryList::showSubFolders);

    const QString start = normalisedDirectory(source.currentDirectory());
    if (!goTo(start))
        goTo(normalisedDirectory(QDir::rootPath()));
}

bool DirectoryList::setPath(const QString &path)
{
    const QString asked = normalisedDirectory(QDir(m_path).filePath(path));
    const QString drive = driveHolding(m_drives, asked);
    const bool isDrive = !drive.isEmpty() && drive.size() == asked.size();
    QString target = isDrive ? m_currentDirectories.value(drive) : asked;
    // A drive whose remembered folder went away still has its root.
    if (isDrive && !isReadableFolder(target))
        target = drive;
    return moveTo(target);
}

bool DirectoryList::moveTo(const QString &directory)
{
    const QString before = m_path;
    if (!goTo(directory)) {
        QApplication::beep();
        return false;
    }
    if (m_path != before)
        emit changed();
    return true;
}

bool DirectoryList::goTo(const QString &directory)
{
    if (!isReadableFolder(directory))
        return false;
    m_path = directory;
    const QString drive = driveHolding(m_drives, directory);
    if (!drive.isEmpty())
        m_currentDirectories.insert(drive, directory);
    fill();
    return true;
}

void DirectoryList::fill()
{
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    clear();
    QTreeWidgetItem *parent = nullptr;
    for (const QString &folder : chainTo(m_path)) {
        const QString name = QDir(folder).dirName();
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, name.isEmpty() ? folder : name);  // a root has no name of its own
        item->setIcon(0, open);
        item->setData(0, PathRole, folder);
        item->setExpanded(true);
        parent = item;
    }
    m_here = parent;
    setCurrentItem(parent);
    scrollToTop();  // as much of the chain as fits, with the current folder in view
    scrollToItem(parent);
    m_subFolders.read(m_path);
}

void DirectoryList::showSubFolders(const std::shared_ptr<const SortedNames> &names, bool complete)
{
    if (!complete)
        return;  // added once, so a highlighted sub-folder stays highlighted
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QDir here(m_path);
    QList<QTreeWidgetItem *> items;
    items.reserve(names->size());
    for (qsizetype i = 0; i < names->size(); ++i) {
        const QString name = names->name(i).toString();
        auto *item = new QTreeWidgetItem({name});
        item->setIcon(0, closed);
        item->setData(0, PathRole, QDir::toNativeSeparators(here.absoluteFilePath(name)));
        items.append(item);
    }
    m_here->addChildren(items);
}

}  // namespace vantok
