#include "output/textpages.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <memory>

namespace vorlac
{

int paintTextPages(const QTextDocument &document, QPainter &painter, QSizeF pageSize,
                   const std::function<bool()> &newPage, int selectionStart, int selectionEnd, double marginInches)
{
    std::unique_ptr<QTextDocument> copy;
    if (selectionStart < selectionEnd) {
        copy = std::make_unique<QTextDocument>();
        copy->setDefaultFont(document.defaultFont());
        QTextCursor source(const_cast<QTextDocument *>(&document));
        source.setPosition(selectionStart);
        source.setPosition(selectionEnd, QTextCursor::KeepAnchor);
        QTextCursor(copy.get()).insertFragment(source.selection());
    } else {
        copy.reset(document.clone());
    }
    // Laid out at 96 dots per inch, as on screen, then scaled to the device: point sizes keep
    // their size on paper and lines break where they would on screen.
    constexpr double kLayoutDpi = 96.0;
    const QPaintDevice *device = painter.device();
    const double scaleX = device ? device->logicalDpiX() / kLayoutDpi : 1.0;
    const double scaleY = device ? device->logicalDpiY() / kLayoutDpi : 1.0;
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setMargin(marginInches * kLayoutDpi);
    copy->rootFrame()->setFrameFormat(frame);
    const QSizeF page(pageSize.width() / scaleX, pageSize.height() / scaleY);
    copy->setPageSize(page);

    const int pages = std::max(1, copy->pageCount());
    for (int index = 0; index < pages; ++index) {
        if (index > 0 && !newPage())
            return 0;
        painter.save();
        painter.scale(scaleX, scaleY);
        const QRectF view(0, index * page.height(), page.width(), page.height());
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        copy->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return pages;
}

} // namespace vorlac
