#pragma once

#include <QSizeF>
#include <functional>

class QPainter;
class QTextDocument;

namespace vorlac
{

// Prints a rich text on pages: a copy of document is laid out on pages of pageSize device pixels
// (point sizes keep their size on paper), with a margin of
// marginInches all round, and each page painted in turn, newPage() between two pages.
// With selectionStart < selectionEnd only that part of the text is printed. Returns the number
// of pages painted, or 0 when a page could not be started.
int paintTextPages(const QTextDocument &document, QPainter &painter, QSizeF pageSize,
                   const std::function<bool()> &newPage, int selectionStart = 0, int selectionEnd = 0,
                   double marginInches = 0.6);

} // namespace vorlac
