#pragma once

#include <QByteArray>
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

    // Files of programs that ended without a confirmed close, newest first. Their locks are
    // taken, so a second program starting at the same time does not offer them too.
    QStringList orphans();
    // Renames a file out of the way ("annule" when the user declined it, "abime" when it could
    // not be read): it is kept, and never offered again. Returns the new path, "" on failure.
    QString setAside(const QString &path, const QString &why);
    // Removes a file that was restored (its work now lives in this program's file).
    void release(const QString &path);

  private:
    bool takeOwnLock();
    QString m_folder;
    qint64 m_pid;
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
