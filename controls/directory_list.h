// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/folder_reader.h"
#include "system/volumes.h"

#include <QHash>
#include <QTreeView>

namespace vantok
{

class DirectoryListModel;

// The current directory as a chain of open folders from the root down, then its own sub-folders
// and links to folders. The chain shows at once; the sub-folders are read on a thread of their
// own and fill in while the user looks, sorted at every step, keeping the highlighted entry and
// the scrolled-to place. Entering an entry (double-click or Enter) goes there. Each drive
// remembers its current directory, and setting the path to a drive's designation goes back there.
class DirectoryList : public QTreeView
{
    Q_OBJECT

public:
    explicit DirectoryList(QWidget *parent = nullptr);
    // Drives and starting directory from `source` (read once).
    explicit DirectoryList(const VolumeSource &source, QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Goes to `path`; a drive designation as DriveList::drive() gives goes to that drive's
    // remembered current directory. An unreadable folder leaves the list where it was, beeps and
    // returns false. Raises `changed` when the path is new.
    bool setPath(const QString &path);
    // Whether the sub-folders of `path` are still being read; those shown so far are sorted.
    bool isReading() const { return m_subFolders.isReading(); }

signals:
    void changed();  // a new path, set by code or chosen by the user

private:
    // Goes to `directory` or beeps; raises `changed` when the path is new.
    bool moveTo(const QString &directory);
    // Shows `directory` if it can be read; quiet either way.
    bool goTo(const QString &directory);
    void fill();
    void showSubFolders(const std::shared_ptr<const SortedNames> &names);
    // The sub-folder at `index`, or an empty name for an entry of the chain.
    QString subFolderAt(const QModelIndex &index) const;

    QString m_path;
    DirectoryListModel *m_model;
    FolderReader m_subFolders{EntryKind::Folder, this};
    QStringList m_drives;
    QHash<QString, QString> m_currentDirectories;  // drive root -> its current directory
};

}  // namespace vantok
