#include "output/clipboardcopies.h"

#include "output/tablepicture.h"
#include "table/valuetable.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace vorlac
{

ClipboardPort ClipboardPort::system()
{
    ClipboardPort port;
    port.putImage = [](const QImage &image) {
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (!clipboard || image.isNull())
            return false;
        clipboard->clear();
        clipboard->setImage(image);
        const QMimeData *data = clipboard->mimeData();
        return data && data->hasImage() && clipboard->image().size() == image.size();
    };
    port.putText = [](const QString &text) {
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (!clipboard)
            return false;
        clipboard->clear();
        clipboard->setText(text);
        return clipboard->text() == text;
    };
    return port;
}

ClipboardCopies::ClipboardCopies(Messenger messenger, ClipboardPort port)
    : m_messenger(std::move(messenger)), m_port(std::move(port))
{
}

bool ClipboardCopies::report(bool ok, QWidget *parent) const
{
    if (!ok)
        m_messenger.critical(parent, QStringLiteral("Copier"),
                             QStringLiteral("La copie n'a pas pu être placée dans le presse-papiers."));
    return ok;
}

bool ClipboardCopies::copyFigure(const QImage &figure, QWidget *parent) const
{
    return report(m_port.putImage && m_port.putImage(figure), parent);
}

bool ClipboardCopies::copyTablePicture(const ValueTable &table, const TableGridMetrics &grid, QWidget *parent) const
{
    return report(m_port.putImage && m_port.putImage(tablePicture(table, grid)), parent);
}

bool ClipboardCopies::copyTableText(const ValueTable &table, QWidget *parent) const
{
    return report(m_port.putText && m_port.putText(tableText(table)), parent);
}

} // namespace vorlac
