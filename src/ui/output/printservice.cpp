#include "output/printservice.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>

namespace vorlac {

namespace {

const QString kTitle = QStringLiteral("Imprimer");
constexpr int kPdfResolution = 1200; // what QPrinter::HighResolution gives a PDF

double primaryScreenDpi(bool horizontal)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

// One job's pages on a paged device (the printer, or a PDF writer).
class DevicePages : public PrintPages {
public:
    DevicePages(QPainter &painter, QPagedPaintDevice &device) : m_painter(painter), m_device(device) {}
    QPainter &painter() override { return m_painter; }
    QPagedPaintDevice &device() override { return m_device; }
    bool newPage() override
    {
        if (!m_device.newPage())
            return false;
        ++m_pages;
        return true;
    }
    int pagesStarted() const override { return m_pages; }

private:
    QPainter &m_painter;
    QPagedPaintDevice &m_device;
    int m_pages = 1;
};

bool beginPainter(QPainter &painter, QPagedPaintDevice &device)
{
    if (!painter.begin(&device))
        return false;
    // Pictures go into the page exactly as they are (no JPEG in a PDF), lines as on screen.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    return true;
}

} // namespace

PrintEnvironment::PrintEnvironment()
{
    hasPrinter = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };
    setupDialog = [](QPrinter &printer, QWidget *parent) {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Configuration de l'impression"));
        return dialog.exec() == QDialog::Accepted;
    };
    pdfFileName = [](QWidget *parent, const QString &suggested) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Imprimer dans un fichier PDF"), suggested,
                                            QStringLiteral("Documents PDF (*.pdf)"));
    };
    screenDpiX = [] { return primaryScreenDpi(true); };
    screenDpiY = [] { return primaryScreenDpi(false); };
}

struct PrintService::Impl {
    Messenger messenger;
    PrintEnvironment env;
    QPrinter printer{QPrinter::HighResolution};
    QString lastPdf;
    // The file the set-up dialog chose ("Imprimer dans un fichier"), if any.
    QString dialogFile() const
    {
        if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
            return printer.outputFileName();
        return {};
    }
};

PrintService::PrintService(Messenger messenger, PrintEnvironment environment)
    : d(std::make_unique<Impl>())
{
    d->messenger = std::move(messenger);
    d->env = std::move(environment);
    // Each copy is a page of its own drawn by the program, never a repeat by the driver.
    d->printer.setCopyCount(1);
    d->printer.setCreator(QStringLiteral("Vorlac"));
}

PrintService::~PrintService() = default;

QPrinter &PrintService::printer() { return d->printer; }
const PrintEnvironment &PrintService::environment() const { return d->env; }
QString PrintService::lastPdfFile() const { return d->lastPdf; }

bool PrintService::hasPrinter() const { return d->env.hasPrinter && d->env.hasPrinter(); }

QString PrintService::printerName() const
{
    const QString file = d->dialogFile();
    if (!file.isEmpty())
        return QDir::toNativeSeparators(file);
    if (!hasPrinter())
        return QStringLiteral("Aucune imprimante (fichier PDF)");
    const QString name = d->printer.printerName();
    return name.isEmpty() ? QPrinterInfo::defaultPrinterName() : name;
}

bool PrintService::setup(QWidget *parent)
{
    return d->env.setupDialog && d->env.setupDialog(d->printer, parent);
}

QString PrintService::defaultPdfPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("Vorlac.pdf"));
}

double PrintService::screenToDeviceX(const QPagedPaintDevice &device) const
{
    const double screen = d->env.screenDpiX ? d->env.screenDpiX() : 96.0;
    return device.logicalDpiX() / (screen > 0 ? screen : 96.0);
}

double PrintService::screenToDeviceY(const QPagedPaintDevice &device) const
{
    const double screen = d->env.screenDpiY ? d->env.screenDpiY() : 96.0;
    return device.logicalDpiY() / (screen > 0 ? screen : 96.0);
}

PrintOutcome PrintService::print(QWidget *parent, const QString &documentName, const PageDrawer &draw,
                                 const std::function<void()> &started)
{
    QString file = d->dialogFile();
    if (file.isEmpty() && !hasPrinter()) {
        file = d->env.pdfFileName ? d->env.pdfFileName(parent, defaultPdfPath()) : QString();
        if (file.isEmpty())
            return PrintOutcome::Cancelled;
        if (QFileInfo(file).suffix().isEmpty())
            file += QStringLiteral(".pdf");
    }

    if (!file.isEmpty()) {
        // The PDF goes through a temporary file: an interrupted job never leaves a damaged file
        // in place of a good one.
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly)) {
            d->messenger.critical(parent, kTitle,
                                  QStringLiteral("Le fichier %1 n'a pas pu être créé : %2")
                                      .arg(QDir::toNativeSeparators(file), out.errorString()));
            return PrintOutcome::Failed;
        }
        QPdfWriter writer(&out);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(d->printer.pageLayout());
        writer.setTitle(documentName);
        writer.setCreator(QStringLiteral("Vorlac"));
        if (started)
            started();
        QPainter painter;
        if (!beginPainter(painter, writer)) {
            out.cancelWriting();
            d->messenger.critical(parent, kTitle,
                                  QStringLiteral("L'impression dans le fichier %1 n'a pas pu commencer.")
                                      .arg(QDir::toNativeSeparators(file)));
            return PrintOutcome::Failed;
        }
        DevicePages pages(painter, writer);
        const bool drawn = draw(pages);
        painter.end();
        if (!drawn) {
            out.cancelWriting();
            d->messenger.critical(parent, kTitle,
                                  QStringLiteral("Une page n'a pas pu être imprimée : le fichier %1 n'a pas été écrit.")
                                      .arg(QDir::toNativeSeparators(file)));
            return PrintOutcome::Failed;
        }
        if (!out.commit()) {
            d->messenger.critical(parent, kTitle,
                                  QStringLiteral("Le fichier %1 n'a pas pu être écrit : %2")
                                      .arg(QDir::toNativeSeparators(file), out.errorString()));
            return PrintOutcome::Failed;
        }
        d->lastPdf = file;
        return PrintOutcome::Printed;
    }

    d->printer.setDocName(documentName);
    if (started)
        started();
    QPainter painter;
    if (!beginPainter(painter, d->printer)) {
        d->messenger.critical(parent, kTitle,
                              QStringLiteral("L'impression n'a pas pu commencer sur l'imprimante %1.")
                                  .arg(printerName()));
        return PrintOutcome::Failed;
    }
    DevicePages pages(painter, d->printer);
    const bool drawn = draw(pages);
    if (!drawn)
        d->printer.abort();
    painter.end();
    if (!drawn || d->printer.printerState() == QPrinter::Error || d->printer.printerState() == QPrinter::Aborted) {
        d->messenger.critical(parent, kTitle,
                              QStringLiteral("L'impression sur l'imprimante %1 a échoué.").arg(printerName()));
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

} // namespace vorlac
