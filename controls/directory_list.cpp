// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/directory_list.h"
#include "core/file_name.h"
#include "system/folder_reading.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QScrollBar>
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

// The chain of folders, one entry under the other, and the sub-folders under the last one. They
// are rows into a shared snapshot of names, so a million of them cost no item each. An entry's
// internal id is its depth: the root's is 0, a sub-folder's the length of the chain.
class DirectoryListModel : public QAbstractItemModel
{
public:
    DirectoryListModel(const QIcon &open, const QIcon &closed, QObject *parent)
        : QAbstractItemModel(parent), m_open(open), m_closed(closed)
    {
    }

    void setChain(QStringList chain)
    {
        beginResetModel();
        m_chain = std::move(chain);
        m_subFolders = std::make_shared<SortedNames>();
        endResetModel();
    }

    // The sub-folders go and come back as one block: a larger snapshot may place names anywhere.
    void setSubFolders(std::shared_ptr<const SortedNames> names)
    {
        const QModelIndex parent = here();
        if (!m_subFolders->isEmpty()) {
            beginRemoveRows(parent, 0, int(m_subFolders->size()) - 1);
            m_subFolders = std::make_shared<SortedNames>();
            endRemoveRows();
        }
        if (names->isEmpty())
            return;
        beginInsertRows(parent, 0, int(names->size()) - 1);
        m_subFolders = std::move(names);
        endInsertRows();
    }

    // The current directory's entry, the sub-folders' parent.
    QModelIndex here() const { return depthIndex(int(m_chain.size()) - 1); }
    QModelIndex subFolder(qsizetype row) const
    {
        return row >= 0 && row < m_subFolders->size() ? createIndex(int(row), 0, subFolderDepth())
                                                      : QModelIndex();
    }
    bool isSubFolder(const QModelIndex &index) const
    {
        return index.isValid() && index.internalId() == subFolderDepth();
    }
    const SortedNames &subFolders() const { return *m_subFolders; }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override
    {
        if (!hasIndex(row, column, parent))
            return {};
        return parent.isValid() ? createIndex(row, 0, parent.internalId() + 1) : depthIndex(0);
    }

    QModelIndex parent(const QModelIndex &child) const override
    {
        return child.isValid() ? depthIndex(int(child.internalId()) - 1) : QModelIndex();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        if (!parent.isValid())
            return m_chain.isEmpty() ? 0 : 1;
        const quintptr depth = parent.internalId();
        if (depth + 1 < subFolderDepth())
            return 1;
        return depth + 1 == subFolderDepth() ? int(m_subFolders->size()) : 0;
    }

    int columnCount(const QModelIndex & = {}) const override { return 1; }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        const Qt::ItemFlags flags = QAbstractItemModel::flags(index);
        return isSubFolder(index) ? flags | Qt::ItemNeverHasChildren : flags;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid))
            return {};
        const bool sub = isSubFolder(index);
        switch (role) {
        case Qt::DisplayRole: {
            if (sub)
                return FileName::shown(m_subFolders->name(index.row()).toString());
            const QString &folder = m_chain[qsizetype(index.internalId())];
            const QString name = QDir(folder).dirName();
            return name.isEmpty() ? folder : name;  // a root has no name of its own
        }
        case Qt::DecorationRole:
            return sub ? m_closed : m_open;
        case PathRole:
            return sub ? subFolderPath(index.row()) : m_chain[qsizetype(index.internalId())];
        default:
            return {};
        }
    }

    // Hidden, but screen readers still read it.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QStringLiteral("Folders");
        return {};
    }

private:
    QString subFolderPath(int row) const
    {
        const QString name = m_subFolders->name(row).toString();
        return QDir::toNativeSeparators(QDir(m_chain.last()).absoluteFilePath(name));
    }
    quintptr subFolderDepth() const { return quintptr(m_chain.size()); }
    QModelIndex depthIndex(int depth) const
    {
        return depth >= 0 && depth < m_chain.size() ? createIndex(0, 0, quintptr(depth))
                                                    : QModelIndex();
    }

    QIcon m_open;
    QIcon m_closed;
    QStringList m_chain;
    std::shared_ptr<const SortedNames> m_subFolders = std::make_shared<SortedNames>();
};

DirectoryList::DirectoryList(QWidget *parent) : DirectoryList(SystemVolumes(), parent) {}

DirectoryList::DirectoryList(const VolumeSource &source, QWidget *parent)
    : QTreeView(parent),
      m_model(new DirectoryListModel(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                     style()->standardIcon(QStyle::SP_DirClosedIcon), this)),
      m_drives(driveRoots(source))
{
    setModel(m_model);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(8);  // a deep chain still leaves room for the folder names
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);  // also spares a measure of every row on each snapshot
    setEditTriggers(NoEditTriggers);
    for (const QString &drive : m_drives)
        m_currentDirectories.insert(drive, drive);
    // An entry is entered as the folder it names, even a drive's root; its path is read before
    // the move replaces every entry.
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
    m_model->setChain(chainTo(m_path));
    const QModelIndex here = m_model->here();
    for (QModelIndex open = here; open.isValid(); open = open.parent())
        expand(open);
    setCurrentIndex(here);
    scrollToTop();  // as much of the chain as fits, with the current folder in view
    scrollTo(here);
    m_subFolders.read(m_path);
}

// A new snapshot keeps what the user has in view: the highlighted sub-folder, and the one at the
// top once the user has scrolled away from the start. The chain's entries never move.
void DirectoryList::showSubFolders(const std::shared_ptr<const SortedNames> &names)
{
    const QString highlighted = subFolderAt(currentIndex());
    const QString top = verticalScrollBar()->value() > 0 ? subFolderAt(indexAt({})) : QString();
    m_model->setSubFolders(names);
    if (!highlighted.isEmpty())
        setCurrentIndex(m_model->subFolder(names->indexOf(highlighted)));
    if (!top.isEmpty())
        scrollTo(m_model->subFolder(names->indexOf(top)), PositionAtTop);
}

QString DirectoryList::subFolderAt(const QModelIndex &index) const
{
    return m_model->isSubFolder(index) ? m_model->subFolders().name(index.row()).toString()
                                       : QString();
}

}  // namespace vantok
