#include "output/printservice.h"

#include "common/atomicwrite.h"
#include "common/filedialogs.h"
#include "situations/situationnames.h"

#include <QBuffer>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>

namespace vorlac
{

namespace
{

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
class DevicePages : public PrintPages
{
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

bool runSetupDialog(QPrinter &printer, QWidget *parent, bool printsOnAccept)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Configuration de l'impression"));
    if (!printsOnAccept) {
        // Qt names the accept button "Imprimer"; here accepting only keeps the settings.
        for (QDialogButtonBox *box : dialog.findChildren<QDialogButtonBox *>()) {
            QPushButton *ok = box->button(QDialogButtonBox::Ok);
            if (ok && box->window() == &dialog)
                ok->setText(QStringLiteral("OK"));
        }
    }
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

PrintEnvironment::PrintEnvironment()
{
    hasPrinter = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };
    setupDialog = [](QPrinter &printer, QWidget *parent) { return runSetupDialog(printer, parent, true); };
    setupOnlyDialog = [](QPrinter &printer, QWidget *parent) { return runSetupDialog(printer, parent, false); };
    pdfFileName = [](QWidget *parent, const QString &suggested) {
        const QFileInfo offered(suggested);
        return askForFile(parent, {QStringLiteral("Imprimer dans un fichier PDF"),
                                   offered.absolutePath(),
                                   offered.fileName(),
                                   {QStringLiteral("Documents PDF (*.pdf)")}});
    };
    screenDpiX = [] { return primaryScreenDpi(true); };
    screenDpiY = [] { return primaryScreenDpi(false); };
}

struct PrintService::Impl {
    Messenger messenger;
    PrintEnvironment env;
    // Made at its first use: a QPrinter loads the system's print support (CUPS and its
    // libraries), which would otherwise weigh on every start of the program.
    std::unique_ptr<QPrinter> printerObject;
    QPrinter &printer()
    {
        if (!printerObject) {
            printerObject = std::make_unique<QPrinter>(QPrinter::HighResolution);
            // Each copy is a page of its own drawn by the program, never a repeat by the driver.
            printerObject->setCopyCount(1);
            printerObject->setCreator(QStringLiteral("Vorlac"));
        }
        return *printerObject;
    }
    QString lastPdf;
    DialogFolders ownFolders;
    DialogFolders *folders = &ownFolders;
    // The file the set-up dialog chose ("Imprimer dans un fichier"), if any. Only ever a
    // suggestion: a name kept from an earlier dialog must not be written over unasked.
    QString dialogFile() const
    {
        if (printerObject && printerObject->outputFormat() == QPrinter::PdfFormat &&
            !printerObject->outputFileName().isEmpty())
            return printerObject->outputFileName();
        return {};
    }
    QString askPdfFile(QWidget *parent) const;
};

QString PrintService::Impl::askPdfFile(QWidget *parent) const
{
    QString suggested = dialogFile();
    if (suggested.isEmpty())
        suggested = folders->suggestedPath(FileKind::Pdf, lastPdf.isEmpty() ? QStringLiteral("Vorlac.pdf")
                                                                            : QFileInfo(lastPdf).fileName());
    return askFileToWrite(parent, messenger, kTitle, suggested, [this, parent](const QString &offered) {
        QString file = env.pdfFileName ? env.pdfFileName(parent, offered) : QString();
        if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty())
            file += QStringLiteral(".pdf");
        return file;
    });
}

PrintService::PrintService(Messenger messenger, PrintEnvironment environment) : d(std::make_unique<Impl>())
{
    d->messenger = std::move(messenger);
    d->env = std::move(environment);
}

PrintService::~PrintService() = default;

QPrinter &PrintService::printer()
{
    return d->printer();
}
const PrintEnvironment &PrintService::environment() const
{
    return d->env;
}
QString PrintService::lastPdfFile() const
{
    return d->lastPdf;
}
void PrintService::setDialogFolders(DialogFolders *folders)
{
    d->folders = folders ? folders : &d->ownFolders;
}

bool PrintService::hasPrinter() const
{
    return d->env.hasPrinter && d->env.hasPrinter();
}

QString PrintService::printerName() const
{
    if (!hasPrinter())
        return QStringLiteral("Aucune imprimante (fichier PDF)");
    if (!d->dialogFile().isEmpty())
        return QStringLiteral("Fichier PDF");
    const QString name = d->printer().printerName();
    return name.isEmpty() ? QPrinterInfo::defaultPrinterName() : name;
}

bool PrintService::setup(QWidget *parent)
{
    return d->env.setupDialog && d->env.setupDialog(d->printer(), parent);
}

bool PrintService::setupForJob(QWidget *parent)
{
    return !hasPrinter() || setup(parent);
}

bool PrintService::setupOnly(QWidget *parent)
{
    if (d->env.setupOnlyDialog)
        return d->env.setupOnlyDialog(d->printer(), parent);
    return setup(parent);
}

QString PrintService::defaultPdfPath()
{
    return QDir(documentsFolder()).filePath(QStringLiteral("Vorlac.pdf"));
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
    if (!hasPrinter() || !d->dialogFile().isEmpty()) {
        const QString file = d->askPdfFile(parent);
        if (file.isEmpty())
            return PrintOutcome::Cancelled;
        const QString shown = QDir::toNativeSeparators(file);
        // Drawn in memory, then written at once: a failure leaves any earlier file untouched.
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        bool drawn = false;
        {
            QPdfWriter writer(&pdf);
            writer.setResolution(kPdfResolution);
            writer.setPageLayout(d->printer().pageLayout());
            writer.setTitle(documentName);
            writer.setCreator(QStringLiteral("Vorlac"));
            if (started)
                started();
            QPainter painter;
            if (!beginPainter(painter, writer)) {
                d->messenger.critical(parent, kTitle,
                                      QStringLiteral("L'impression dans le fichier %1 n'a pas pu "
                                                     "commencer.")
                                          .arg(shown));
                return PrintOutcome::Failed;
            }
            DevicePages pages(painter, writer);
            drawn = draw(pages);
            painter.end();
        }
        if (!drawn) {
            d->messenger.critical(parent, kTitle,
                                  QStringLiteral("Une page n'a pas pu être imprimée : le fichier %1 n'a pas "
                                                 "été écrit.")
                                      .arg(shown));
            return PrintOutcome::Failed;
        }
        QString reason;
        if (!writeFileAtomically(file, pdf.data(), &reason)) {
            d->messenger.critical(parent, kTitle,
                                  QStringLiteral("Le fichier %1 n'a pas pu être écrit : %2").arg(shown, reason));
            return PrintOutcome::Failed;
        }
        d->lastPdf = file;
        d->folders->remember(FileKind::Pdf, file);
        return PrintOutcome::Printed;
    }

    d->printer().setDocName(documentName);
    if (started)
        started();
    QPainter painter;
    if (!beginPainter(painter, d->printer())) {
        d->messenger.critical(
            parent, kTitle,
            QStringLiteral("L'impression n'a pas pu commencer sur l'imprimante %1.").arg(printerName()));
        return PrintOutcome::Failed;
    }
    DevicePages pages(painter, d->printer());
    const bool drawn = draw(pages);
    if (!drawn)
        d->printer().abort();
    painter.end();
    if (!drawn || d->printer().printerState() == QPrinter::Error || d->printer().printerState() == QPrinter::Aborted) {
        d->messenger.critical(parent, kTitle,
                              QStringLiteral("L'impression sur l'imprimante %1 a échoué.").arg(printerName()));
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

} // namespace vorlac
