// Real write failures for the tests of the file writers: a child process whose files cannot
// grow (RLIMIT_FSIZE), a tiny tmpfs that can be filled up (root only), and a child that gives up
// root so that folder permissions bind.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace failingdisk
{

inline constexpr int kChildDied = -1;

// Runs fn in a forked child and returns its answer (0..125), or kChildDied. In the child, files
// cannot grow past fileSizeLimit bytes (the write fails with EFBIG instead of killing it), and
// with asNobody root becomes "nobody". An alarm ends a child that hangs. With defaultSignal the
// child keeps SIGXFSZ as the system sets it, for code that must ignore it itself.
inline int inChild(const std::function<int()> &fn, rlim_t fileSizeLimit = RLIM_INFINITY, bool asNobody = false,
                   bool defaultSignal = false)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return kChildDied;
    if (child == 0) {
        ::alarm(60);
        std::signal(SIGXFSZ, defaultSignal ? SIG_DFL : SIG_IGN);
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(126);
        if (asNobody && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(126);
        ::_exit(fn() & 0x7f);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) != 126 ? WEXITSTATUS(status) : kChildDied;
}

// A 64 KiB tmpfs mounted on a temporary folder while the object lives; isMounted() is false
// where mounting is not allowed (the caller then skips).
class SmallDisk
{
  public:
    SmallDisk()
    {
        m_mounted = m_dir.isValid() && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                                               "size=64k,mode=0755") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    bool remountReadOnly()
    {
        return ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                       nullptr) == 0;
    }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Fills the disk with a file of its own, then gives back freeBytes (whole pages).
    bool fillLeaving(qint64 freeBytes)
    {
        const int fd = ::open(QFile::encodeName(filePath(QStringLiteral(".filler"))).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const QByteArray page(4096, 'f');
        qint64 size = 0;
        for (ssize_t n; (n = ::write(fd, page.constData(), page.size())) > 0;)
            size += n;
        const qint64 pages = (freeBytes + 4095) / 4096;
        const bool ok = errno == ENOSPC && size >= pages * 4096 && ::ftruncate(fd, size - pages * 4096) == 0;
        ::close(fd);
        return ok;
    }

  private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// Where a write is made to fail: on a small disk filled up to a given room, or in a child
// process whose files may not grow past that room.
class FailingPlace
{
  public:
    explicit FailingPlace(bool fullDisk)
    {
        if (fullDisk)
            m_disk.emplace();
    }

    // The full-disk place needs a tmpfs, which only root can mount.
    bool unavailable() const { return m_disk && !m_disk->isMounted(); }
    QString filePath(const QString &name) const { return m_disk ? m_disk->filePath(name) : m_tmp.filePath(name); }
    // Before the write: leaves room bytes free on the disk (nothing to do for a child).
    bool prepare(qint64 room) { return !m_disk || m_disk->fillLeaving(room); }
    // Runs the write: here on the disk, or in a child limited to room bytes (kChildDied if it died).
    int run(const std::function<int()> &write, qint64 room) const
    {
        return m_disk ? write() : inChild(write, rlim_t(room));
    }

  private:
    QTemporaryDir m_tmp;
    std::optional<SmallDisk> m_disk;
};

} // namespace failingdisk
