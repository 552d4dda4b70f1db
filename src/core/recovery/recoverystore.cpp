#include "recovery/recoverystore.h"

#include "common/atomicwrite.h"
#include "common/programdirectory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>
#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstdio>
#endif

namespace vorlac
{

namespace
{

const QString kPrefix = QStringLiteral("travail-");
const QString kSuffix = QStringLiteral(".vorlac-travail");
const QString kLockSuffix = QStringLiteral(".verrou");
const QString kAsideSuffix = QStringLiteral(".vorlac-ecarte");
const QString kStampFormat = QStringLiteral("yyyyMMdd-hhmmss");
// The atomic writer's temporary file of another file than a recovery file is taken as left by
// an ended program once it is this old: a write takes milliseconds.
constexpr qint64 kForeignTemporaryAgeMs = 3600 * 1000;

bool processRunning(qint64 pid)
{
#ifdef Q_OS_WIN
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
#else
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
#endif
}

// A lock that could not be taken: true when its program is known to be gone (this machine, no
// such process), which QLockFile could not act on because the folder refuses changes.
bool holderGone(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host, application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return false; // being written by a program starting now
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return false;
    return !processRunning(pid);
}

// Replaces `to` by `from` in one step.
bool renameOver(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return ::MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                         reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

std::unique_ptr<QLockFile> lockOf(const QDir &dir, const QString &id)
{
    auto lock = std::make_unique<QLockFile>(dir.filePath(kPrefix + id + kLockSuffix));
    lock->setStaleLockTime(0); // only a program that is gone gives its lock up
    return lock;
}

} // namespace

QString RecoveryStore::defaultFolder()
{
    return userStateFolder();
}

RecoveryStore::RecoveryStore(QString folder, qint64 processId)
    : m_folder(std::move(folder)), m_id(QString::number(processId))
{
    const QDir dir(m_folder);
    const QString base = m_id;
    const auto taken = [&dir](const QString &id) {
        return QFileInfo::exists(dir.filePath(kPrefix + id + kSuffix)) ||
               QFileInfo::exists(dir.filePath(kPrefix + id + kLockSuffix));
    };
    for (int n = 2; taken(m_id); ++n)
        m_id = base + QLatin1Char('-') + QString::number(n);
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::filePath() const
{
    return QDir(m_folder).filePath(kPrefix + m_id + kSuffix);
}

bool RecoveryStore::takeOwnLock()
{
    if (m_lock && m_lock->isLocked())
        return true;
    if (!QDir().mkpath(m_folder))
        return false;
    m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(kPrefix + m_id + kLockSuffix));
    m_lock->setStaleLockTime(0); // held for the whole run, however long
    return m_lock->tryLock(0);
}

bool RecoveryStore::write(const QByteArray &bytes, QString *reason)
{
    if (!takeOwnLock()) {
        if (reason)
            *reason = QStringLiteral("Le dossier %1 n'est pas accessible en écriture.")
                          .arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    // The work is written in the folder itself, never where a link in its place would lead.
    if (QFileInfo(filePath()).isSymLink())
        QFile::remove(filePath());
    return writeFileAtomically(filePath(), bytes, reason);
}

void RecoveryStore::discard()
{
    QFile::remove(filePath());
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}

void RecoveryStore::sweep()
{
    const QDir dir(m_folder);
    const QString &own = m_id;
    const QRegularExpression lockName(QStringLiteral("^travail-(\\d+(?:-\\d+)?)\\.verrou$"));
    // The atomic writer's temporary file: the target's name and six letters or digits.
    const QRegularExpression temporaryName(QStringLiteral("^(.+\\.[^.]+)\\.[A-Za-z0-9]{6}$"));
    const QRegularExpression recoveryName(QStringLiteral("^travail-(\\d+(?:-\\d+)?)\\.vorlac-travail$"));

    std::map<QString, QStringList> temporariesOf; // by program
    QSet<QString> programs;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QFileInfo &f : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        if (const QRegularExpressionMatch lock = lockName.match(f.fileName()); lock.hasMatch()) {
            programs.insert(lock.captured(1));
            continue;
        }
        const QRegularExpressionMatch temporary = temporaryName.match(f.fileName());
        if (!temporary.hasMatch() || temporary.captured(1).endsWith(kLockSuffix))
            continue; // not one (QLockFile's own files end in .verrou)
        if (const QRegularExpressionMatch of = recoveryName.match(temporary.captured(1)); of.hasMatch()) {
            temporariesOf[of.captured(1)] << f.filePath();
            programs.insert(of.captured(1));
        } else if (f.lastModified().toUTC().msecsTo(now) > kForeignTemporaryAgeMs) {
            QFile::remove(f.filePath());
        }
    }
    for (const QString &id : programs) {
        if (id == own)
            continue;
        // The lock is free (or stale) only when its program is gone; letting it go removes it,
        // and orphans() takes the lock of a work file again.
        const std::unique_ptr<QLockFile> lock = lockOf(dir, id);
        const bool held = m_orphanLocks.count(dir.filePath(kPrefix + id + kSuffix)) > 0;
        if (!held && !lock->tryLock(0))
            continue;
        for (const QString &path : temporariesOf[id])
            QFile::remove(path);
    }
}

QList<RecoveryOrphan> RecoveryStore::orphans()
{
    const QRegularExpression name(QStringLiteral("^travail-(\\d+(?:-\\d+)?)\\.vorlac-travail$"));
    const QDir dir(m_folder);
    // A link is never a recovery file: adopting it would make later writes go where it leads.
    QFileInfoList files = dir.entryInfoList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files | QDir::NoSymLinks);
    std::stable_sort(files.begin(), files.end(),
                     [](const QFileInfo &a, const QFileInfo &b) { return a.lastModified() > b.lastModified(); });
    QList<RecoveryOrphan> found;
    for (const QFileInfo &f : files) {
        const QRegularExpressionMatch m = name.match(f.fileName());
        if (!m.hasMatch() || m.captured(1) == m_id)
            continue;
        if (m_orphanLocks.count(f.filePath())) {
            found << RecoveryOrphan{f.filePath(), true};
            continue;
        }
        std::unique_ptr<QLockFile> lock = lockOf(dir, m.captured(1));
        if (lock->tryLock(0)) {
            m_orphanLocks[f.filePath()] = std::move(lock);
            found << RecoveryOrphan{f.filePath(), true};
        } else if (lock->error() != QLockFile::LockFailedError || holderGone(*lock)) {
            // The folder refuses changes: no lock can be made or cleared there. Reading is
            // enough to restore, so the work is offered all the same.
            found << RecoveryOrphan{f.filePath(), false};
        }
    }
    return found;
}

bool RecoveryStore::adopt(const QString &path)
{
    if (!takeOwnLock() || !renameOver(path, filePath()))
        return false;
    dropOrphanLock(path);
    return true;
}

QString RecoveryStore::setAsideTarget(const QString &path, const QString &why) const
{
    const QFileInfo f(path);
    const QString base = f.completeBaseName() + QLatin1Char('-') + why + QLatin1Char('-') +
                         QDateTime::currentDateTime().toString(kStampFormat);
    QString target = f.dir().filePath(base + kAsideSuffix);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = f.dir().filePath(base + QLatin1Char('-') + QString::number(n) + kAsideSuffix);
    return target;
}

QString RecoveryStore::setAside(const QString &path, const QString &why, const QString &target)
{
    const QString to = target.isEmpty() || QFileInfo::exists(target) ? setAsideTarget(path, why) : target;
    if (!QFile::rename(path, to))
        return QString();
    dropOrphanLock(path);
    return to;
}

QList<SetAsidePiece> RecoveryStore::setAsidePieces() const
{
    const QRegularExpression name(QStringLiteral("-([a-z]+)-(\\d{8}-\\d{6})(?:-\\d+)?\\.vorlac-ecarte$"));
    QList<SetAsidePiece> pieces;
    for (const QFileInfo &f : QDir(m_folder).entryInfoList({QLatin1Char('*') + kAsideSuffix}, QDir::Files)) {
        const QRegularExpressionMatch m = name.match(f.fileName());
        SetAsidePiece piece{f.filePath(), m.captured(1), QDateTime::fromString(m.captured(2), kStampFormat)};
        if (!piece.setAsideAt.isValid())
            piece.setAsideAt = f.lastModified();
        pieces << piece;
    }
    std::stable_sort(pieces.begin(), pieces.end(), [](const SetAsidePiece &a, const SetAsidePiece &b) {
        return a.setAsideAt != b.setAsideAt ? a.setAsideAt > b.setAsideAt : a.path > b.path;
    });
    return pieces;
}

void RecoveryStore::dropOrphanLock(const QString &path)
{
    // Unlocking removes the lock file: nothing of the ended program is left behind.
    m_orphanLocks.erase(path);
}

// ---------------------------------------------------------------------------------------------

RecoveryWriter::RecoveryWriter(RecoveryStore &store, Done done)
    : m_store(store), m_done(std::move(done)), m_thread([this] { run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecoveryWriter::submit(QByteArray bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending = std::move(bytes);
    }
    m_wake.notify_all();
}

void RecoveryWriter::waitIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_pending && !m_busy; });
}

void RecoveryWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_stop; });
        if (!m_pending)
            return; // stopping with nothing left to write
        QByteArray bytes = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();
        QString reason;
        const bool ok = m_store.write(bytes, &reason);
        if (m_done)
            m_done(ok, reason);
        lock.lock();
        m_busy = false;
        m_idle.notify_all();
    }
}

} // namespace vorlac
