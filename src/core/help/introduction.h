#pragma once

#include <QString>
#include <array>

class QTextDocument;

namespace vorlac
{

enum class IntroStyle { Title, Plain, Blue };

struct IntroPiece {
    QString text; // with CR LF line breaks
    IntroStyle style;
};

// The thirteen pieces of the introduction, in order (index 0 unused).
std::array<IntroPiece, 14> introPieces();

// Replaces the document's text with the formatted introduction.
void writeIntroduction(QTextDocument &document);

} // namespace vorlac
