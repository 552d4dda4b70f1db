#pragma once

#include "common/dialogfolders.h"
#include "common/messenger.h"
#include "output/exports.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace vorlac
{

class ValueTable;

// The platform's side of exporting; tests replace it.
struct ExportEnvironment {
    // The save dialog: title, suggested file, filters; the chosen file ("" when cancelled) and,
    // in *selectedFilter, the filter chosen. The overwrite question is the caller's.
    std::function<QString(QWidget *parent, const QString &title, const QString &suggested, const QStringList &filters,
                          QString *selectedFilter)>
        saveFileName;
    ExportEnvironment(); // the program's file dialog
};

// Saving the figure, the graph and the table as files: a save dialog with French filters, the
// overwrite question ("Oui" / "Non", "Non" asks again), the atomic writer, a French message on
// failure.
class ExportCommands
{
  public:
    enum class Outcome { Saved, Cancelled, Failed };

    explicit ExportCommands(Messenger messenger = {}, ExportEnvironment environment = {});
    ExportCommands(const ExportCommands &) = delete;
    ExportCommands &operator=(const ExportCommands &) = delete;

    // A picture as PNG (its size or doubled), SVG or PDF (paint draws the vector version).
    // baseName is the suggested file name without suffix ("schema").
    Outcome exportPicture(QWidget *parent, const QString &title, const QString &baseName, const QImage &image,
                          const VectorPainter &paint);
    // The table as CSV for a French spreadsheet.
    Outcome exportTable(QWidget *parent, const ValueTable &table);

    QString lastFile() const { return m_lastFile; }
    // Where the dialogs start (the main window's, shared with printing and the exercises); by
    // default a set of this object's own.
    void setDialogFolders(DialogFolders *folders) { m_folders = folders ? folders : &m_ownFolders; }

  private:
    // The chosen file with its suffix, or "" when cancelled.
    QString askFile(QWidget *parent, const QString &title, const QString &suggested, const QStringList &filters,
                    QString *filter, const std::function<QString(const QString &)> &suffixOf);
    Outcome write(QWidget *parent, const QString &title, FileKind kind, const QString &path, const QByteArray &bytes);

    Messenger m_messenger;
    ExportEnvironment m_env;
    QString m_lastFile;
    DialogFolders m_ownFolders;
    DialogFolders *m_folders = &m_ownFolders;
};

} // namespace vorlac
