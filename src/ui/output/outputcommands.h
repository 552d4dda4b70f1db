#pragma once

#include "output/clipboardcopies.h"
#include "output/exportcommands.h"
#include "output/printservice.h"
#include "output/printwindow.h"

#include <functional>

class QWidget;

namespace vorlac
{

// The main window's printing and copying: "&Imprimer" and the three items of `menucopie`.
// It owns the program's one printer service (lent to the grapher through printService()) and
// the start folders of every file dialog (lent to the exercise commands).
class OutputCommands
{
  public:
    struct Sources {
        PrintSources print;                           // figure, report, table, grid
        std::function<void(const QString &)> setInfo; // the hint line `info`
        QString copyConfirmation;
    };
    OutputCommands(Sources sources, Messenger messenger = {}, PrintEnvironment environment = {},
                   ClipboardPort clipboard = ClipboardPort::system(), ExportEnvironment exports = {});

    PrintService &printService() { return m_service; }
    DialogFolders &dialogFolders() { return m_folders; }
    // Opens `confimp` modally over parent.
    void openPrintWindow(QWidget *parent);
    // Each copy shows the confirmation only once the data is on the clipboard.
    bool copyFigure(QWidget *parent);
    bool copyTablePicture(QWidget *parent);
    bool copyTableText(QWidget *parent);
    // The exports of `menucopie`: the figure as printed (PNG, SVG, PDF) and the table (CSV).
    ExportCommands &exports() { return m_exports; }
    // The figure as vector lines, for its SVG and PDF exports (the picture itself otherwise).
    void setFigureVector(VectorPainter paint) { m_figureVector = std::move(paint); }
    ExportCommands::Outcome exportFigure(QWidget *parent);
    ExportCommands::Outcome exportTable(QWidget *parent);

  private:
    bool confirm(bool ok, const QString &text = QString());
    Sources m_sources;
    DialogFolders m_folders;
    PrintService m_service;
    ClipboardCopies m_clipboard;
    ExportCommands m_exports;
    VectorPainter m_figureVector;
};

} // namespace vorlac
