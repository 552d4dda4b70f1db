#include "help/introduction.h"

#include "common/crlf.h"

#include <QTextCursor>
#include <QTextDocument>

namespace vorlac
{

namespace
{

QTextCharFormat baseFormat()
{
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Arial")});
    f.setFontPointSize(10);
    f.setForeground(QColor(0, 0, 0));
    f.setFontWeight(QFont::Normal);
    f.setFontItalic(false);
    f.setFontUnderline(false);
    f.setVerticalAlignment(QTextCharFormat::AlignNormal);
    return f;
}

} // namespace

std::array<IntroPiece, 14> introPieces()
{
    using S = IntroStyle;
    return {{
        {QString(), S::Plain},
        {QStringLiteral("Vorlac") + kCrLf, S::Title},
        {kCrLf + QStringLiteral("Cette application permet de simuler la marche d'un rayon lumineux "), S::Plain},
        {QStringLiteral("dans un vorlac.") + kCrLf + kCrLf + QStringLiteral("Pour "), S::Plain},
        {QStringLiteral("faire varier l'angle d'incidence "), S::Blue},
        {QStringLiteral("du rayon, utiliser"), S::Plain},
        {QStringLiteral(" la souris "), S::Blue},
        {QStringLiteral("directement sur la figure. ") + kCrLf + kCrLf, S::Plain},
        {QStringLiteral("Tous les paramètres sont modifiables et la figure obtenue peut être imprimée ou placée "
                        "dans le presse-papiers "),
         S::Blue},
        {QStringLiteral("pour la coller dans une autre application.") + kCrLf + kCrLf +
             QStringLiteral("Vous pouvez obtenir l'énoncé d'un exercice dans cette fenêtre en cliquant sur "
                            "l'onglet "),
         S::Plain},
        {QStringLiteral("Exercices") + kCrLf + kCrLf, S::Blue},
        {QStringLiteral("Pour vous familiariser avec ce simulateur, choisissez d'abord l'activité "), S::Plain},
        {QStringLiteral("Prise en main "), S::Blue},
        {QStringLiteral("dans le menu Exercices."), S::Plain},
    }};
}

void writeIntroduction(QTextDocument &document)
{
    document.clear();
    const auto pieces = introPieces();
    QTextCursor cursor(&document);
    cursor.setCharFormat(baseFormat());
    cursor.beginEditBlock();
    // A CR LF pair is one paragraph break in the document.
    std::array<std::pair<int, int>, 14> ranges{};
    for (int k = 1; k <= 13; ++k) {
        const int start = cursor.position();
        cursor.insertText(QString(pieces[k].text).replace(kCrLf, QStringLiteral("\n")), baseFormat());
        ranges[k] = {start, cursor.position()};
    }
    // Styles go on piece by piece, in order, as a selection each: a paragraph shared by two
    // pieces ends with the paragraph format of the later one.
    for (int k = 1; k <= 13; ++k) {
        QTextCursor sel(&document);
        sel.setPosition(ranges[k].first);
        sel.setPosition(ranges[k].second, QTextCursor::KeepAnchor);
        QTextCharFormat chars = baseFormat();
        QTextBlockFormat block;
        switch (pieces[k].style) {
        case IntroStyle::Title:
            chars.setFontPointSize(18);
            chars.setForeground(QColor(0, 0, 200));
            block.setAlignment(Qt::AlignHCenter);
            block.setLeftMargin(0);
            break;
        case IntroStyle::Blue:
            chars.setForeground(QColor(0, 0, 200));
            block.setAlignment(Qt::AlignLeft);
            block.setLeftMargin(20);
            break;
        case IntroStyle::Plain:
            block.setAlignment(Qt::AlignLeft);
            block.setLeftMargin(20);
            break;
        }
        sel.mergeCharFormat(chars);
        sel.mergeBlockFormat(block);
    }
    cursor.endEditBlock();
    document.setModified(false);
}

} // namespace vorlac
