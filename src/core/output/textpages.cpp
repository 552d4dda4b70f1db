#include "output/textpages.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPaintDevice>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <memory>

namespace vorlac {

int paintTextPages(const QTextDocument &document, QPainter &painter, QSizeF pageSize,
                   const std::function<bool()> &newPage, int selectionStart, int selectionEnd,
                   double marginInches)
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
    QPaintDevice *device = painter.device();
    const double dpi = device ? device->logicalDpiY() : 96.0;
    copy->documentLayout()->setPaintDevice(device);
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setMargin(marginInches * dpi);
    copy->rootFrame()->setFrameFormat(frame);
    copy->setPageSize(pageSize);

    const int pages = std::max(1, copy->pageCount());
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !newPage())
            return 0;
        painter.save();
        const QRectF view(0, page * pageSize.height(), pageSize.width(), pageSize.height());
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
