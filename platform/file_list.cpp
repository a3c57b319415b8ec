// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_list.h"
#include "core/wildcard.h"
#include "platform/folder_reading.h"
#include "platform/volumes.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <vector>

namespace vantok
{

// All names of the folder, and the rows shown as indices into them, so a refilter builds one
// small vector instead of a list of strings or items.
class FileListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void setNames(std::vector<FoldedName> names)
    {
        beginResetModel();
        m_names = std::move(names);
        m_shown.clear();
        endResetModel();
    }

    void filter(const WildcardPattern &pattern)
    {
        beginResetModel();
        m_shown.clear();
        for (int i = 0; i < int(m_names.size()); ++i) {
            if (pattern.matchesFolded(m_names[i].folded))
                m_shown.push_back(i);
        }
        endResetModel();
    }

    const QString &name(int row) const { return m_names[m_shown[row]].name; }
    int rowOf(const QString &name) const
    {
        const auto found = std::find_if(m_shown.begin(), m_shown.end(),
                                        [&](int i) { return m_names[i].name == name; });
        return found == m_shown.end() ? -1 : int(found - m_shown.begin());
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_shown.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
            return {};
        return name(index.row());
    }

private:
    std::vector<FoldedName> m_names;
    std::vector<int> m_shown;
};

FileList::FileList(QWidget *parent) : QListView(parent), m_model(new FileListModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet && selectionModel()->hasSelection())
            emit clicked();
    });

    m_rereading.setSingleShot(true);
    m_rereading.setInterval(50);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_rereading,
            qOverload<>(&QTimer::start));
    connect(&m_rereading, &QTimer::timeout, this, &FileList::reread);
}

FileList::~FileList() = default;

void FileList::setPath(const QString &path)
{
    m_path = normalisedDirectory(path);
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_watcher.addPath(m_path);
    m_rereading.stop();
    readFolder();
    refilter({});
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refilter(fileName());
}

QString FileList::fileName() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : m_model->name(selected.first().row());
}

QStringList FileList::fileNames() const
{
    QStringList names;
    for (int row = 0; row < m_model->rowCount(); ++row)
        names.append(m_model->name(row));
    return names;
}

void FileList::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex hit = indexAt(event->position().toPoint());
    const bool wasSelected = hit.isValid() && selectionModel()->isSelected(hit);
    QListView::mousePressEvent(event);
    // Qt reports only a change of selection; a click on the selected file loads it again.
    if (wasSelected && event->button() == Qt::LeftButton && selectionModel()->isSelected(hit))
        emit clicked();
}

void FileList::keyPressEvent(QKeyEvent *event)
{
    // The first arrow press selects the file that has the focus frame, rather than passing it by.
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (arrow && event->modifiers() == Qt::NoModifier && !selectionModel()->hasSelection() &&
        currentIndex().isValid()) {
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
        return;
    }
    QListView::keyPressEvent(event);
}

void FileList::readFolder()
{
    m_model->setNames(sortedCaseInsensitively(fileNamesIn(m_path)));
}

void FileList::refilter(const QString &keep)
{
    const bool wasQuiet = std::exchange(m_quiet, true);
    m_model->filter(WildcardPattern(m_pattern));
    const int row = keep.isEmpty() ? -1 : m_model->rowOf(keep);
    if (row >= 0) {
        const QModelIndex index = m_model->index(row);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    m_quiet = wasQuiet;
}

void FileList::reread()
{
    const QString selected = fileName();
    readFolder();
    refilter(selected);
}

}  // namespace vantok
