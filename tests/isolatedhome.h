#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A home of the test process's own: its settings (Qt's file dialog remembers its last folder
// there), documents, state, caches and runtime files never reach the user's. Made before the
// application object, which reads some of these once.
class IsolatedHome
{
  public:
    IsolatedHome()
    {
        if (!m_dir.isValid())
            qFatal("no temporary folder for the test's home");
        const char *const vars[][2] = {{"HOME", "home"},
                                       {"XDG_CONFIG_HOME", "home/.config"},
                                       {"XDG_DATA_HOME", "home/.local/share"},
                                       {"XDG_STATE_HOME", "home/.local/state"},
                                       {"XDG_CACHE_HOME", "home/.cache"},
                                       {"XDG_RUNTIME_DIR", "runtime"}};
        for (const auto &[var, sub] : vars) {
            const QString path = m_dir.filePath(QString::fromLatin1(sub));
            QDir().mkpath(path);
            // Qt refuses a runtime folder that others may read.
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv(var, QFile::encodeName(path));
        }
    }
    QString path() const { return m_dir.path(); }

  private:
    QTemporaryDir m_dir;
};
