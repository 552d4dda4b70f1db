#pragma once

#include "common/dialogfolders.h"
#include "common/messenger.h"

#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

namespace vorlac
{

// The pages of one job, as the drawing code sees them. The painter is already active on the
// first page (origin at the top-left of the printable area, lossless images, no antialiasing);
// newPage() ends the current page and starts the next one.
class PrintPages
{
  public:
    virtual ~PrintPages() = default;
    virtual QPainter &painter() = 0;
    // Printable width() and height() in device pixels, logicalDpiX()/Y() the device resolution.
    virtual QPagedPaintDevice &device() = 0;
    // False when the device refused the page; the drawer should then stop and return false.
    virtual bool newPage() = 0;
    virtual int pagesStarted() const = 0;
};

// Draws every page of a job; returns false when it could not (the job is then reported as failed).
using PageDrawer = std::function<bool(PrintPages &pages)>;

// The platform's side of printing; tests replace each part.
struct PrintEnvironment {
    // Whether the system has a printer at all; without one, jobs go to a PDF file.
    std::function<bool()> hasPrinter;
    // The printer set-up dialog on the shared printer, just before a job (its accept button
    // prints); true when the user accepted it.
    std::function<bool(QPrinter &printer, QWidget *parent)> setupDialog;
    // The same dialog opened only to set the printer up: accepting it prints nothing, so its
    // accept button reads "OK". When unset, setupDialog stands in.
    std::function<bool(QPrinter &printer, QWidget *parent)> setupOnlyDialog;
    // Asks where to write the PDF, starting from `suggested`; "" when the user cancelled. The
    // service asks itself before replacing an existing file (once ".pdf" is added to a name
    // without a suffix), so this dialog does not.
    std::function<QString(QWidget *parent, const QString &suggested)> pdfFileName;
    // The screen's resolution in dots per inch (picture pixels to printer pixels).
    std::function<double()> screenDpiX;
    std::function<double()> screenDpiY;

    PrintEnvironment(); // the real system: QPrinterInfo, QPrintDialog, the program's file dialog, the screen
};

enum class PrintOutcome {
    Printed,   // the job was drawn and handed over (printer) or the PDF file written
    Cancelled, // the user cancelled the PDF file choice: nothing was printed, nothing said
    Failed     // something went wrong; a critical message in French has been shown
};

// The program's one printer, shared by every window that prints (owned by the main window and
// lent to the print window and the grapher).
class PrintService
{
  public:
    explicit PrintService(Messenger messenger = {}, PrintEnvironment environment = {});
    ~PrintService();
    PrintService(const PrintService &) = delete;
    PrintService &operator=(const PrintService &) = delete;

    // The shared QPrinter(QPrinter::HighResolution).
    QPrinter &printer();
    const PrintEnvironment &environment() const;

    // Whether jobs go to a system printer (false: a PDF file is asked for at each job).
    bool hasPrinter() const;
    // What a print window shows as the current printer: the device name; with no printer,
    // "Aucune imprimante (fichier PDF)"; "Fichier PDF" when the set-up dialog chose a file.
    QString printerName() const;

    // The printer set-up dialog just before a job; false when cancelled, the printer then stays
    // as it was.
    bool setup(QWidget *parent);
    // What a window runs before its job: setup() where there is a printer; with none, true at
    // once, the job's PDF file dialog being its one question (the set-up dialog would ask for a
    // file of its own first, named "print.pdf").
    bool setupForJob(QWidget *parent);
    // The printer set-up dialog alone ("&Imprimantes" of the print window): as setup(), but its
    // accept button reads "OK" since nothing is printed on accepting it.
    bool setupOnly(QWidget *parent);

    // Prints one job of as many pages as `draw` makes. With no printer (or when the set-up dialog
    // chose a file), every job asks for its PDF file with `pdfFileName` (suggested: the file the
    // set-up dialog chose, else the last PDF's name, else "Vorlac.pdf", in the start folder of
    // the PDF kind of the dialog folders), and an existing file is replaced only when the user answers "Oui" to the
    // question ("Non" asks for a name again). The PDF is drawn in memory and written with
    // writeFileAtomically: on any failure the old file stays as it was. `started` runs once the
    // target is chosen, just before drawing (a window shows its waiting message there). A page
    // that cannot be started, a printer in error after the job or a file that cannot be written
    // shows a critical message with `messenger` and gives Failed.
    PrintOutcome print(QWidget *parent, const QString &documentName, const PageDrawer &draw,
                       const std::function<void()> &started = {});

    // The PDF file of the last job that went to a file ("" if none yet).
    QString lastPdfFile() const;
    // Where the PDF file dialog starts (the main window's folders); by default a set of the
    // service's own.
    void setDialogFolders(DialogFolders *folders);

    // The default PDF file name offered: "Vorlac.pdf" in the documents folder, or home.
    static QString defaultPdfPath();

    // Screen pixels to device pixels on the printer (the picture's natural size on paper).
    double screenToDeviceX(const QPagedPaintDevice &device) const;
    double screenToDeviceY(const QPagedPaintDevice &device) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vorlac
