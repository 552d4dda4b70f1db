#include "output/outputcommands.h"

#include <QPainter>

namespace vorlac
{

OutputCommands::OutputCommands(Sources sources, Messenger messenger, PrintEnvironment environment,
                               ClipboardPort clipboard, ExportEnvironment exports)
    : m_sources(std::move(sources)), m_service(messenger, std::move(environment)),
      m_clipboard(messenger, std::move(clipboard)), m_exports(messenger, std::move(exports))
{
    m_service.setDialogFolders(&m_folders);
    m_exports.setDialogFolders(&m_folders);
}

void OutputCommands::openPrintWindow(QWidget *parent)
{
    PrintWindow window(m_service, m_sources.print, parent);
    window.exec();
}

bool OutputCommands::confirm(bool ok, const QString &text)
{
    if (ok && m_sources.setInfo)
        m_sources.setInfo(text.isEmpty() ? m_sources.copyConfirmation : text);
    return ok;
}

bool OutputCommands::copyFigure(QWidget *parent)
{
    const QImage figure = m_sources.print.figure ? m_sources.print.figure() : QImage();
    return confirm(m_clipboard.copyFigure(figure, parent));
}

bool OutputCommands::copyTablePicture(QWidget *parent)
{
    return confirm(m_sources.print.table &&
                   m_clipboard.copyTablePicture(*m_sources.print.table, m_sources.print.grid, parent));
}

bool OutputCommands::copyTableText(QWidget *parent)
{
    // Text, not a picture: the confirmation says so.
    return confirm(m_sources.print.table && m_clipboard.copyTableText(*m_sources.print.table, parent),
                   QStringLiteral("Le contenu du tableau est copié en texte: vous pouvez le retrouver depuis toute "
                                  "application (coller)"));
}

ExportCommands::Outcome OutputCommands::exportFigure(QWidget *parent)
{
    const QImage figure = m_sources.print.figure ? m_sources.print.figure() : QImage();
    const VectorPainter vector =
        m_figureVector ? m_figureVector : VectorPainter([figure](QPainter &p) { p.drawImage(0, 0, figure); });
    return m_exports.exportPicture(parent, QStringLiteral("Exporter le schéma de l'expérience"),
                                   QStringLiteral("schema"), figure, vector);
}

ExportCommands::Outcome OutputCommands::exportTable(QWidget *parent)
{
    if (!m_sources.print.table)
        return ExportCommands::Outcome::Failed;
    return m_exports.exportTable(parent, *m_sources.print.table);
}

} // namespace vorlac
