// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileSystemWatcher>
#include <QListView>
#include <QTimer>

namespace vantok
{

class FileListModel;

// The files of one folder whose names match a wildcard pattern, sorted without regard to case;
// folders and hidden files are never listed. The folder is read once per path and then watched;
// a pattern change only refilters the names in memory. A selection by mouse or arrow keys, and a
// click on the already selected file, raises `clicked` before the event returns.
class FileList : public QListView
{
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);
    ~FileList() override;

    // Ends in the separator only at a root ("/", "C:\").
    QString path() const { return m_path; }
    // Reads the folder anew, even when `path` is the current one, and clears the selection.
    void setPath(const QString &path);

    QString pattern() const { return m_pattern; }
    // Filters the kept listing anew; the selected file stays selected, quietly, if it still
    // matches.
    void setPattern(const QString &pattern);

    // The selected file's name without its directory; empty when none is selected.
    QString fileName() const;
    // The names shown, in order.
    QStringList fileNames() const;

signals:
    // A selection by mouse or arrow keys; also a click on the already selected file.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void readFolder();
    // Shows the kept names that match the pattern, and selects `keep` again if it is among them.
    void refilter(const QString &keep);
    void reread();

    QString m_path;
    QString m_pattern = QStringLiteral("*");
    FileListModel *m_model;
    QFileSystemWatcher m_watcher;
    QTimer m_rereading;  // folds a burst of changes into one re-read
    bool m_quiet = false;
};

}  // namespace vantok
