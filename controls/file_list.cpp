// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/file_list.h"
#include "core/file_name.h"
#include "core/wildcard.h"
#include "system/folder_reading.h"
#include "system/volumes.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

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

    void setNames(std::shared_ptr<const SortedNames> names)
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
        for (qsizetype i = 0; i < m_names->size(); ++i) {
            if (pattern.matchesFolded(m_names->folded(i)))
                m_shown.push_back(i);
        }
        endResetModel();
    }

    QString name(int row) const { return m_names->name(m_shown[size_t(row)]).toString(); }
    int rowOf(const QString &name) const
    {
        const qsizetype index = m_names->indexOf(name);
        const int row = rowAtOrAfter(name);
        return index >= 0 && row < rowCount() && m_shown[size_t(row)] == index ? row : -1;
    }
    // The row `name` has or would have among those shown.
    int rowAtOrAfter(const QString &name) const
    {
        // Both sorted: the name's place among all names, then that place among those shown.
        return int(std::lower_bound(m_shown.begin(), m_shown.end(), m_names->placeOf(name)) -
                   m_shown.begin());
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_shown.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
            return {};
        return FileName::shown(name(index.row()));
    }

private:
    std::shared_ptr<const SortedNames> m_names = std::make_shared<SortedNames>();
    std::vector<qsizetype> m_shown;
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
    connect(&m_reader, &FolderReader::namesRead, this, &FileList::takeNames);
}

FileList::~FileList() = default;

void FileList::setPath(const QString &path)
{
    m_path = normalisedDirectory(path);
    // Watching a folder anew costs the system a pass over all its entries; a folder that went
    // away has already dropped out of the watch.
    if (m_watcher.directories() != QStringList{m_path}) {
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        m_watcher.addPath(m_path);
    }
    m_rereading.stop();
    m_rereadWaiting = false;
    m_fillingIn = true;
    m_model->setNames(std::make_shared<SortedNames>());
    refilter({});
    m_reader.read(m_path);
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refilter(selectedName());
}

FileName FileList::fileName() const
{
    return selectedName();
}

QStringList FileList::fileNames() const
{
    QStringList names;
    for (int row = 0; row < m_model->rowCount(); ++row)
        names.append(FileName::shown(m_model->name(row)));
    return names;
}

QString FileList::selectedName() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : m_model->name(selected.first().row());
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

// A new snapshot keeps what the user has in view: the selection, and the row at the top once
// the user has scrolled away from the start.
void FileList::takeNames(const std::shared_ptr<const SortedNames> &names, bool complete)
{
    if (!complete && !m_fillingIn)
        return;  // a re-read replaces the listing only once it is whole
    const QString selected = selectedName();
    const QModelIndex top = indexAt(QPoint(0, 0));
    const QString topName =
        verticalScrollBar()->value() > 0 && top.isValid() ? m_model->name(top.row()) : QString();
    m_model->setNames(names);
    refilter(selected);
    const int topRow = topName.isEmpty() ? -1 : m_model->rowOf(topName);
    if (topRow >= 0)
        scrollTo(m_model->index(topRow), PositionAtTop);
    if (!complete)
        return;
    m_fillingIn = false;
    if (std::exchange(m_rereadWaiting, false))
        reread();
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
    } else if (!keep.isEmpty() && m_model->rowCount() > 0) {
        // The selected file went away: the focus frame stays at its place, so the arrow keys go
        // on from there rather than from the top.
        const int place = std::min(m_model->rowAtOrAfter(keep), m_model->rowCount() - 1);
        selectionModel()->setCurrentIndex(m_model->index(place), QItemSelectionModel::NoUpdate);
    }
    m_quiet = wasQuiet;
}

void FileList::reread()
{
    if (m_reader.isReading()) {
        m_rereadWaiting = true;  // restarting would never end in a folder that keeps changing
        return;
    }
    m_reader.read(m_path);
}

}  // namespace vantok
