// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Folder entries that are neither files nor folders, and files whose names are not UTF-8, for
// tests of what the chooser lists and what the picture loader opens. Unix only.

#include <QFile>
#include <QString>

#ifdef Q_OS_UNIX
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#endif

namespace vantok::test
{

#ifdef Q_OS_UNIX

inline bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

// Writes a file whose name is raw bytes, which need not be UTF-8 as Qt's names would be.
inline bool writeFileNamed(const QByteArray &path, const QByteArray &bytes)
{
    const int file = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        return false;
    const bool written = ::write(file, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(file) == 0 && written;
}

// A Unix socket's entry; it stays when the socket itself is closed.
inline bool makeSocket(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (socket < 0)
        return false;
    const bool bound = ::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(socket);
    return bound;
}

// Frees a reader that is stuck opening the FIFO at `path`, so a test that would wait for ever
// fails instead: after `patience`, opens the FIFO for writing (which succeeds only while a reader
// waits) and closes it again, which ends the reader's wait.
class FifoRescue
{
public:
    FifoRescue(const QString &path, std::chrono::milliseconds patience)
        : m_path(QFile::encodeName(path)), m_thread([this, patience] {
              std::unique_lock lock(m_mutex);
              if (m_done.wait_for(lock, patience, [this] { return m_finished; }))
                  return;
              const int writer = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
              if (writer >= 0) {
                  m_rescued = true;
                  ::close(writer);
              }
          })
    {
    }
    ~FifoRescue() { finish(); }

    // True when a reader was waiting on the FIFO and had to be freed.
    bool finish()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        return m_rescued;
    }

private:
    const QByteArray m_path;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    bool m_rescued = false;
    std::thread m_thread;
};

#endif

#ifdef Q_OS_LINUX

// Notes whether anyone opens the entry at `path` (a link is followed) while it watches.
class OpenWatch
{
public:
    explicit OpenWatch(const QString &path)
        : m_notify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          m_watch(::inotify_add_watch(m_notify, QFile::encodeName(path).constData(), IN_OPEN))
    {
    }
    ~OpenWatch() { ::close(m_notify); }

    bool isWatching() const { return m_notify >= 0 && m_watch >= 0; }
    bool sawOpen() const
    {
        alignas(inotify_event) char events[4096];
        return ::read(m_notify, events, sizeof events) > 0;
    }

private:
    const int m_notify;
    const int m_watch;
};

#endif

}  // namespace vantok::test
