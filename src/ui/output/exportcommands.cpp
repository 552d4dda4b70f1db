#include "output/exportcommands.h"

#include "common/atomicwrite.h"
#include "common/filedialogs.h"

#include <QDir>
#include <QFileInfo>

namespace vorlac
{

namespace
{

const QString kCsvFilter = QStringLiteral("Tableau CSV pour tableur (*.csv)");

} // namespace

ExportEnvironment::ExportEnvironment()
{
    saveFileName = [](QWidget *parent, const QString &title, const QString &suggested, const QStringList &filters,
                      QString *selectedFilter) {
        const QFileInfo offered(suggested);
        return askForFile(parent, {title, offered.absolutePath(), offered.fileName(), filters}, selectedFilter);
    };
}

ExportCommands::ExportCommands(Messenger messenger, ExportEnvironment environment)
    : m_messenger(std::move(messenger)), m_env(std::move(environment))
{
}

QString ExportCommands::askFile(QWidget *parent, const QString &title, const QString &suggested,
                                const QStringList &filters, QString *filter,
                                const std::function<QString(const QString &)> &suffixOf)
{
    return askFileToWrite(parent, m_messenger, title, suggested, [&](const QString &offered) {
        QString chosenFilter = filters.value(0);
        QString file =
            m_env.saveFileName ? m_env.saveFileName(parent, title, offered, filters, &chosenFilter) : QString();
        if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty())
            file += QStringLiteral(".") + suffixOf(chosenFilter);
        *filter = chosenFilter;
        return file;
    });
}

ExportCommands::Outcome ExportCommands::write(QWidget *parent, const QString &title, FileKind kind, const QString &path,
                                              const QByteArray &bytes)
{
    QString reason;
    if (bytes.isEmpty())
        reason = QStringLiteral("Le document n'a pas pu être préparé.");
    else if (writeFileAtomically(path, bytes, &reason)) {
        m_lastFile = path;
        m_folders->remember(kind, path);
        return Outcome::Saved;
    }
    m_messenger.critical(
        parent, title,
        QStringLiteral("Le fichier %1 n'a pas pu être enregistré.").arg(QDir::toNativeSeparators(path)) +
            (reason.isEmpty() ? QString() : QStringLiteral("\n") + reason));
    return Outcome::Failed;
}

ExportCommands::Outcome ExportCommands::exportPicture(QWidget *parent, const QString &title, const QString &baseName,
                                                      const QImage &image, const VectorPainter &paint)
{
    QString filter;
    const QString path =
        askFile(parent, title, m_folders->suggestedPath(FileKind::Picture, baseName + QStringLiteral(".png")),
                pictureFilters(), &filter, [](const QString &f) { return pictureSuffix(pictureFormatOfFilter(f)); });
    if (path.isEmpty())
        return Outcome::Cancelled;
    // A suffix typed by the pupil wins over the filter left selected.
    PictureFormat format = pictureFormatOfFilter(filter);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("svg"))
        format = PictureFormat::Svg;
    else if (suffix == QStringLiteral("pdf"))
        format = PictureFormat::Pdf;
    else if (suffix == QStringLiteral("png") && format != PictureFormat::PngDouble)
        format = PictureFormat::Png;
    return write(parent, title, FileKind::Picture, path, pictureBytes(format, image, title, paint));
}

ExportCommands::Outcome ExportCommands::exportTable(QWidget *parent, const ValueTable &table)
{
    const QString title = QStringLiteral("Exporter le tableau");
    QString filter;
    const QString path =
        askFile(parent, title, m_folders->suggestedPath(FileKind::Table, QStringLiteral("tableau.csv")), {kCsvFilter},
                &filter, [](const QString &) { return QStringLiteral("csv"); });
    if (path.isEmpty())
        return Outcome::Cancelled;
    return write(parent, title, FileKind::Table, path, tableCsv(table));
}

} // namespace vorlac
