#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vorlac
{

// What one file dialog asks for.
struct FileDialogRequest {
    FileDialogRequest(QString title_, QString folder_, QString fileName_, QStringList filters_,
                      QString defaultSuffix_ = {}, bool save_ = true)
        : title(std::move(title_)), folder(std::move(folder_)), fileName(std::move(fileName_)),
          filters(std::move(filters_)), defaultSuffix(std::move(defaultSuffix_)), save(save_)
    {
    }
    QString title;
    QString folder;            // where the dialog starts
    QString fileName;          // the name offered, or a pattern ("*.rtf") in an open dialog
    QStringList filters;       // the first is selected
    QString defaultSuffix;     // added by the dialog to a name typed without one
    bool save = true;          // false: an existing file to open
    bool chooseFolder = false; // true: a folder is chosen (files are not shown)
};

// Every file dialog of the program: Qt's own dialog, never the platform's, so that each one
// reads French and names file types from file names alone (Qt's usual provider reads the first
// bytes of each file it lists and waits for ever on /proc/kmsg); French column titles, sizes and
// dates in the program's locale, columns wide enough for what they show; the folder given,
// whatever Qt remembers from other programs (its shared history and last folder are not
// offered). The overwrite question is the caller's. Returns the chosen file ("" when cancelled)
// and, in *selectedFilter, the filter the dialog ended on.
QString askForFile(QWidget *parent, const FileDialogRequest &request, QString *selectedFilter = nullptr);

} // namespace vorlac
