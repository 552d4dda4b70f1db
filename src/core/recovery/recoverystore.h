#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace vorlac
{

// A file left by a program that ended without a confirmed close.
struct RecoveryOrphan {
    QString path;
    // False when its folder refuses changes (read-only): the file can be read and restored, but
    // neither removed nor set aside, so it is offered again at the next start.
    bool cleanable = true;
};

// A file set aside: kept under a name that is never offered, for the pupil to open again.
struct SetAsidePiece {
    QString path;
    QString why;          // "annule", "ouverture", "abime", "restaure" (see RecoveryStore::setAside)
    QDateTime setAsideAt; // local time, from its name
};

// The recovery files of one user, in one folder. Each running program writes its own file,
// named with its process id, and holds a lock file beside it for as long as it runs; at
// start-up only the files whose lock nobody holds (their program ended without a confirmed
// close) are offered. Files set aside keep their contents under a name that is never offered.
class RecoveryStore
{
  public:
    // The folder of the unsaved work: the program's own state folder (userStateFolder), shared
    // with the marker file when the program directory is read-only.
    static QString defaultFolder();

    RecoveryStore(QString folder, qint64 processId);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    QString folder() const { return m_folder; }
    QString filePath() const; // this program's file

    // Replaces this program's file atomically (creating the folder and taking the lock first).
    // False, with *reason, on any failure; the previous file is then left whole.
    bool write(const QByteArray &bytes, QString *reason = nullptr);
    // A confirmed close: removes this program's file and lets the lock go.
    void discard();

    // Removes what ended programs left besides their work: the temporary files of a write cut
    // short (by their program's lock, or by age for the other files of the folder) and the
    // locks of programs that left no work. Files of running programs are left alone.
    void sweep();
    // Files of programs that ended without a confirmed close, newest first. Their locks are
    // taken, so a second program starting at the same time does not offer them too.
    QList<RecoveryOrphan> orphans();
    // Lets the locks of orphans that were not dealt with go (they are offered at a later start).
    void dropOrphanLocks() { m_orphanLocks.clear(); }
    // Makes a restored orphan this program's own file, in one rename: at every moment the work
    // is in exactly one file that a later start offers once. False when the folder refuses.
    bool adopt(const QString &path);

    // The name setAside(path, why) gives now: why is "annule" (declined at start-up),
    // "ouverture" (a file opened at start-up took the place of the restored work), "abime"
    // (unreadable) or "restaure" (restored, but it could not become this program's file).
    QString setAsideTarget(const QString &path, const QString &why) const;
    // Renames a file out of the way, to target when given and free: it is kept and never offered
    // again. Returns the new path, "" on failure.
    QString setAside(const QString &path, const QString &why, const QString &target = QString());
    // The files set aside in the folder, newest first.
    QList<SetAsidePiece> setAsidePieces() const;

  private:
    bool takeOwnLock();
    QString m_folder;
    // The process id, with "-2", "-3"... when an ended program of the same id (a reused process
    // id) left its files here: they are offered like any other, never written over.
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    void dropOrphanLock(const QString &path);

    std::map<QString, std::unique_ptr<QLockFile>> m_orphanLocks; // by the orphan's path
};

// Writes recovery files on a thread of its own, so that syncing to the disk never holds up the
// window. Only the newest bytes matter: a submission replaces one still waiting.
class RecoveryWriter
{
  public:
    // done runs on the writer's thread after each write.
    using Done = std::function<void(bool ok, const QString &reason)>;
    RecoveryWriter(RecoveryStore &store, Done done);
    ~RecoveryWriter(); // finishes what is waiting, then stops
    RecoveryWriter(const RecoveryWriter &) = delete;
    RecoveryWriter &operator=(const RecoveryWriter &) = delete;

    void submit(QByteArray bytes);
    // Returns once nothing is waiting or being written.
    void waitIdle();

  private:
    void run();

    RecoveryStore &m_store;
    Done m_done;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<QByteArray> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace vorlac
