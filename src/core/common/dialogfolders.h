#pragma once

#include <QString>
#include <array>
#include <functional>

namespace vorlac
{

// The kinds of file the program's file dialogs ask for; each kind remembers its own folder.
enum class FileKind { Picture, Table, Pdf, ExerciseText };

// Where each file dialog starts: the folder of the file last used for its kind in this run, else
// the folder of the work at hand (the situation file's; for exercise texts the open exercise's
// first), else the documents folder. A folder counts only when it exists and can be written, so
// that a save offered there can succeed: shipped exercises and their situations may sit in a
// read-only installation. Nothing is kept between runs, and Qt's remembered folder, shared by
// every Qt program, is never used.
class DialogFolders
{
  public:
    // The work at hand, asked when a dialog opens; either may be unset or answer "".
    struct Work {
        std::function<QString()> situationFile;  // the situation saved or opened last
        std::function<QString()> exerciseFolder; // the open exercise's folder
    };
    void setWork(Work work) { m_work = std::move(work); }

    QString startFolder(FileKind kind) const;
    // fileName in the start folder of kind.
    QString suggestedPath(FileKind kind, const QString &fileName) const;
    // A file of kind was written or read: the next dialog of that kind starts in its folder.
    void remember(FileKind kind, const QString &file);

  private:
    Work m_work;
    std::array<QString, 4> m_last;
};

} // namespace vorlac
