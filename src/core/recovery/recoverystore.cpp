#include "recovery/recoverystore.h"

#include "common/atomicwrite.h"
#include "common/programdirectory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace vorlac
{

namespace
{

const QString kPrefix = QStringLiteral("travail-");
const QString kSuffix = QStringLiteral(".vorlac-travail");
const QString kLockSuffix = QStringLiteral(".verrou");

} // namespace

QString RecoveryStore::defaultFolder()
{
    return userStateFolder();
}

RecoveryStore::RecoveryStore(QString folder, qint64 processId) : m_folder(std::move(folder)), m_pid(processId) {}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::filePath() const
{
    return QDir(m_folder).filePath(kPrefix + QString::number(m_pid) + kSuffix);
}

bool RecoveryStore::takeOwnLock()
{
    if (m_lock && m_lock->isLocked())
        return true;
    if (!QDir().mkpath(m_folder))
        return false;
    m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(kPrefix + QString::number(m_pid) + kLockSuffix));
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
    return writeFileAtomically(filePath(), bytes, reason);
}

void RecoveryStore::discard()
{
    QFile::remove(filePath());
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}

QStringList RecoveryStore::orphans()
{
    const QRegularExpression name(QStringLiteral("^travail-(\\d+)\\.vorlac-travail$"));
    const QDir dir(m_folder);
    QFileInfoList files = dir.entryInfoList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files);
    std::stable_sort(files.begin(), files.end(),
                     [](const QFileInfo &a, const QFileInfo &b) { return a.lastModified() > b.lastModified(); });
    QStringList found;
    for (const QFileInfo &f : files) {
        const QRegularExpressionMatch m = name.match(f.fileName());
        if (!m.hasMatch() || m.captured(1) == QString::number(m_pid))
            continue;
        auto lock = std::make_unique<QLockFile>(dir.filePath(kPrefix + m.captured(1) + kLockSuffix));
        lock->setStaleLockTime(0); // only a program that is gone gives its lock up
        if (!lock->tryLock(0))
            continue;
        m_orphanLocks[f.filePath()] = std::move(lock);
        found << f.filePath();
    }
    return found;
}

QString RecoveryStore::setAside(const QString &path, const QString &why)
{
    const QFileInfo f(path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString target = f.dir().filePath(f.completeBaseName() + QLatin1Char('-') + why + QLatin1Char('-') + stamp +
                                      QStringLiteral(".vorlac-ecarte"));
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = f.dir().filePath(f.completeBaseName() + QLatin1Char('-') + why + QLatin1Char('-') + stamp +
                                  QLatin1Char('-') + QString::number(n) + QStringLiteral(".vorlac-ecarte"));
    if (!QFile::rename(path, target))
        return QString();
    dropOrphanLock(path);
    return target;
}

void RecoveryStore::dropOrphanLock(const QString &path)
{
    // Unlocking removes the lock file: nothing of the ended program is left behind.
    m_orphanLocks.erase(path);
}

void RecoveryStore::release(const QString &path)
{
    QFile::remove(path);
    dropOrphanLock(path);
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
