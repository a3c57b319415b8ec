// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/folder_reader.h"

#include <QMutex>

#include <atomic>

namespace vantok
{

// What one reading hands over: the latest snapshot, and whether a report is already on its way.
struct FolderReader::Reading {
    std::atomic_bool dropped = false;
    QMutex mutex;
    std::shared_ptr<const SortedNames> latest;
    bool complete = false;
    bool reportPosted = false;
};

FolderReader::FolderReader(EntryKind kind, QObject *parent) : QObject(parent), m_kind(kind)
{
    m_thread.setMaxThreadCount(1);  // a dropped reading ends before the next one starts
}

FolderReader::~FolderReader()
{
    stop();
    m_thread.waitForDone();  // its last report names this object
}

void FolderReader::read(const QString &directory)
{
    stop();
    auto reading = std::make_shared<Reading>();
    m_reading = reading;
    m_thread.start([this, reading, directory, kind = m_kind] {
        readFolder(directory, kind,
                   [&](const std::shared_ptr<const SortedNames> &names, bool complete) {
                       if (reading->dropped)
                           return false;
                       QMutexLocker lock(&reading->mutex);
                       reading->latest = names;
                       reading->complete = complete;
                       if (!std::exchange(reading->reportPosted, true))
                           QMetaObject::invokeMethod(
                               this, [this, reading] { collect(reading); }, Qt::QueuedConnection);
                       return true;
                   });
    });
}

void FolderReader::collect(const std::shared_ptr<Reading> &reading)
{
    if (reading != m_reading)
        return;  // dropped since it posted
    std::shared_ptr<const SortedNames> names;
    bool complete = false;
    {
        QMutexLocker lock(&reading->mutex);
        names = std::move(reading->latest);
        complete = reading->complete;
        reading->reportPosted = false;
    }
    if (complete)
        m_reading.reset();
    emit namesRead(names, complete);
}

void FolderReader::stop()
{
    if (m_reading)
        m_reading->dropped = true;
    m_reading.reset();
}

}  // namespace vantok
