// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/file_name.h"
#include "system/folder_reader.h"

#include <QFileSystemWatcher>
#include <QListView>
#include <QTimer>

namespace vantok
{

class FileListModel;

// The files of one folder whose names match a wildcard pattern, sorted without regard to case;
// regular files and links to them only, never hidden ones. The folder is read once per path, on
// a thread of its own, and then watched; a pattern change only refilters the names in memory. A
// big folder fills in while the user looks, sorted at every step, keeping the selection and the
// scrolled-to place. A selection by mouse or arrow keys, and a click on the already selected
// file, raises `clicked` before the event returns.
class FileList : public QListView
{
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);
    ~FileList() override;

    // Ends in the separator only at a root ("/", "C:\").
    QString path() const { return m_path; }
    // Reads the folder anew, even when `path` is the current one, and clears the selection. The
    // list is empty until the first names come in.
    void setPath(const QString &path);
    // Whether the folder at `path` is still being read; the names shown so far are sorted.
    bool isReading() const { return m_reader.isReading(); }

    QString pattern() const { return m_pattern; }
    // Filters the kept listing anew; the selected file stays selected, quietly, if it still
    // matches.
    void setPattern(const QString &pattern);

    // The selected file's name without its directory, with the bytes it has on the disk; empty
    // when none is selected.
    FileName fileName() const;
    // The names shown, in order.
    QStringList fileNames() const;

signals:
    // A selection by mouse or arrow keys; also a click on the already selected file.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void takeNames(const std::shared_ptr<const SortedNames> &names, bool complete);
    // Shows the kept names that match the pattern, and selects `keep` again if it is among them.
    void refilter(const QString &keep);
    void reread();
    // As the names are kept: text that holds every byte of the name (see FileName::text()).
    QString selectedName() const;

    QString m_path;
    QString m_pattern = QStringLiteral("*");
    FileListModel *m_model;
    FolderReader m_reader{EntryKind::File, this};
    bool m_fillingIn = false;      // a new path shows its names as they come; a re-read at the end
    bool m_rereadWaiting = false;  // the folder changed while it was being read
    QFileSystemWatcher m_watcher;
    QTimer m_rereading;  // folds a burst of changes into one re-read
    bool m_quiet = false;
};

}  // namespace vantok
