#include "exercises/formatbar.h"

#include "common/hintline.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QTextEdit>
#include <QToolButton>
#include <QWidgetAction>

namespace vorlac
{

namespace
{

struct NamedColour {
    const char *name;
    QRgb rgb;
};

const NamedColour kColours[] = {
    {"Noir", 0x000000},   {"Bleu", 0x0000C0},   {"Rouge", 0xC00000}, {"Vert", 0x008000},
    {"Violet", 0x800080}, {"Orange", 0xD06000}, {"Gris", 0x606060},
};

QIcon swatch(QColor colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(colour);
    QPainter(&pixmap).drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

} // namespace

QStringList FormatBar::symbols()
{
    return QString::fromUtf8("αβγδεθλμπσφωΔΩ°′″≈≤≥×·→").split(QString(), Qt::SkipEmptyParts);
}

FormatBar::FormatBar(HintLine &hints, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("barreformat"));
    setAutoFillBackground(true);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(1);

    m_bold = addToggle("formatgras", QStringLiteral("G"), QStringLiteral("Gras (Ctrl+G)"),
                       QKeySequence(QStringLiteral("Ctrl+G")), hints);
    QFont font = m_bold->font();
    font.setBold(true);
    m_bold->setFont(font);
    m_italic = addToggle("formatitalique", QStringLiteral("I"), QStringLiteral("Italique (Ctrl+I)"),
                         QKeySequence(QStringLiteral("Ctrl+I")), hints);
    font = m_italic->font();
    font.setItalic(true);
    m_italic->setFont(font);
    m_underline = addToggle("formatsouligne", QStringLiteral("S"), QStringLiteral("Souligné (Ctrl+U)"),
                            QKeySequence(QStringLiteral("Ctrl+U")), hints);
    font = m_underline->font();
    font.setUnderline(true);
    m_underline->setFont(font);
    m_superscript = addToggle("formatexposant", QStringLiteral("x²"), QStringLiteral("Exposant (Ctrl+Maj+P)"),
                              QKeySequence(QStringLiteral("Ctrl+Shift+P")), hints);
    m_subscript = addToggle("formatindice", QStringLiteral("x₂"), QStringLiteral("Indice (Ctrl+Maj+B)"),
                            QKeySequence(QStringLiteral("Ctrl+Shift+B")), hints);
    const std::pair<QToolButton *, QTextFormat::Property> styles[] = {{m_bold, QTextFormat::FontWeight},
                                                                      {m_italic, QTextFormat::FontItalic},
                                                                      {m_underline, QTextFormat::TextUnderlineStyle}};
    for (const auto &[button, property] : styles) {
        connect(button, &QToolButton::toggled, this, [this, property = property](bool on) {
            QTextCharFormat f;
            if (property == QTextFormat::FontWeight)
                f.setFontWeight(on ? QFont::Bold : QFont::Normal);
            else if (property == QTextFormat::FontItalic)
                f.setFontItalic(on);
            else
                f.setFontUnderline(on);
            mergeFormat(f);
        });
    }
    const std::pair<QToolButton *, QTextCharFormat::VerticalAlignment> positions[] = {
        {m_superscript, QTextCharFormat::AlignSuperScript}, {m_subscript, QTextCharFormat::AlignSubScript}};
    for (const auto &[button, alignment] : positions) {
        connect(button, &QToolButton::toggled, this, [this, alignment = alignment](bool on) {
            QTextCharFormat f;
            f.setVerticalAlignment(on ? alignment : QTextCharFormat::AlignNormal);
            mergeFormat(f);
        });
    }

    m_colour = new QToolButton(this);
    m_colour->setObjectName(QStringLiteral("formatcouleur"));
    m_colour->setText(QStringLiteral("A"));
    m_colour->setPopupMode(QToolButton::InstantPopup);
    auto *colours = new QMenu(m_colour);
    for (const NamedColour &c : kColours) {
        QAction *a = colours->addAction(swatch(QColor(c.rgb)), QString::fromUtf8(c.name));
        connect(a, &QAction::triggered, this, [this, rgb = c.rgb] {
            QTextCharFormat f;
            f.setForeground(QColor(rgb));
            mergeFormat(f);
        });
    }
    m_colour->setMenu(colours);
    m_colour->setToolTip(QStringLiteral("Couleur du texte"));
    hints.addHint(m_colour, QStringLiteral("Choisir la couleur du texte sélectionné."));
    row->addWidget(m_colour);

    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("formattaille"));
    for (int points : {8, 9, 10, 11, 12, 14, 16, 18, 20, 24})
        m_size->addItem(QString::number(points), points);
    m_size->setToolTip(QStringLiteral("Taille des caractères (points)"));
    hints.addHint(m_size, QStringLiteral("Choisir la taille des caractères du texte sélectionné."));
    connect(m_size, &QComboBox::activated, this, [this](int index) {
        QTextCharFormat f;
        f.setFontPointSize(m_size->itemData(index).toInt());
        mergeFormat(f);
    });
    row->addWidget(m_size);

    m_family = new QComboBox(this);
    m_family->setObjectName(QStringLiteral("formatpolice"));
    m_family->addItem(QStringLiteral("Arial"), QStringLiteral("Arial"));
    m_family->addItem(QStringLiteral("Times"), QStringLiteral("Times New Roman"));
    m_family->setToolTip(QStringLiteral("Police sans empattement (Arial) ou avec empattement (Times)"));
    hints.addHint(m_family, QStringLiteral("Écrire le texte sélectionné en Arial (sans empattement) ou en Times "
                                           "(avec empattement)."));
    connect(m_family, &QComboBox::activated, this, [this](int index) {
        QTextCharFormat f;
        f.setFontFamilies({m_family->itemData(index).toString()});
        f.setFontStyleHint(index == 0 ? QFont::SansSerif : QFont::Serif);
        mergeFormat(f);
    });
    row->addWidget(m_family);

    m_align = new QToolButton(this);
    m_align->setObjectName(QStringLiteral("formatalignement"));
    m_align->setText(QStringLiteral("≡"));
    m_align->setPopupMode(QToolButton::InstantPopup);
    auto *alignments = new QMenu(m_align);
    const std::pair<const char *, Qt::Alignment> kAlignments[] = {{"À gauche", Qt::AlignLeft},
                                                                  {"Centré", Qt::AlignHCenter},
                                                                  {"À droite", Qt::AlignRight},
                                                                  {"Justifié", Qt::AlignJustify}};
    for (const auto &[caption, alignment] : kAlignments)
        connect(alignments->addAction(QString::fromUtf8(caption)), &QAction::triggered, this,
                [this, alignment = alignment] {
                    if (m_editor)
                        m_editor->setAlignment(alignment);
                });
    m_align->setMenu(alignments);
    m_align->setToolTip(QStringLiteral("Alignement du paragraphe"));
    hints.addHint(m_align, QStringLiteral("Aligner le paragraphe à gauche, au centre, à droite ou des deux côtés."));
    row->addWidget(m_align);

    m_palette = new QToolButton(this);
    m_palette->setObjectName(QStringLiteral("formatsymboles"));
    m_palette->setText(QStringLiteral("αΩ"));
    m_palette->setPopupMode(QToolButton::InstantPopup);
    auto *paletteMenu = new QMenu(m_palette);
    auto *grid = new QWidget(paletteMenu);
    auto *cells = new QGridLayout(grid);
    cells->setContentsMargins(2, 2, 2, 2);
    cells->setSpacing(1);
    const QStringList all = symbols();
    for (int i = 0; i < all.size(); ++i) {
        auto *key = new QToolButton(grid);
        key->setObjectName(QStringLiteral("symbole%1").arg(i));
        key->setText(all[i]);
        key->setFixedSize(26, 24);
        key->setToolTip(QStringLiteral("Insérer %1").arg(all[i]));
        connect(key, &QToolButton::clicked, this, [this, paletteMenu, s = all[i]] {
            paletteMenu->close();
            insertSymbol(s);
        });
        cells->addWidget(key, i / 8, i % 8);
    }
    auto *holder = new QWidgetAction(paletteMenu);
    holder->setDefaultWidget(grid);
    paletteMenu->addAction(holder);
    m_palette->setMenu(paletteMenu);
    m_palette->setToolTip(QStringLiteral("Lettres grecques et symboles"));
    hints.addHint(m_palette, QStringLiteral("Insérer une lettre grecque ou un symbole (°, ≈, ≤, →...) au curseur."));
    row->addWidget(m_palette);
    row->addStretch();
}

QToolButton *FormatBar::addToggle(const char *name, const QString &text, const QString &tip, const QKeySequence &key,
                                  HintLine &hints)
{
    auto *button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setCheckable(true);
    button->setFixedSize(24, 22);
    button->setToolTip(tip);
    hints.addHint(button, tip + QStringLiteral(" : s'applique au texte sélectionné ou à ce qui va être écrit."));
    layout()->addWidget(button);
    auto *shortcut = new QAction(this);
    shortcut->setShortcut(key);
    shortcut->setShortcutContext(Qt::WidgetShortcut);
    connect(shortcut, &QAction::triggered, button, &QToolButton::toggle);
    m_shortcuts.append(shortcut);
    return button;
}

void FormatBar::attach(QTextEdit *editor)
{
    for (const auto &link : std::as_const(m_links))
        disconnect(link);
    m_links.clear();
    if (m_editor)
        for (QAction *a : std::as_const(m_shortcuts))
            m_editor->removeAction(a);
    m_editor = editor;
    if (!editor)
        return;
    for (QAction *a : std::as_const(m_shortcuts))
        editor->addAction(a);
    m_links.append(connect(editor, &QTextEdit::currentCharFormatChanged, this, &FormatBar::showFormat));
    showFormat(editor->currentCharFormat());
}

void FormatBar::mergeFormat(const QTextCharFormat &format)
{
    if (!m_editor)
        return;
    // mergeCurrentCharFormat applies to the selection, or to what is typed next.
    m_editor->mergeCurrentCharFormat(format);
    m_editor->setFocus();
}

void FormatBar::showFormat(const QTextCharFormat &format)
{
    const QSignalBlocker b1(m_bold), b2(m_italic), b3(m_underline), b4(m_superscript), b5(m_subscript);
    m_bold->setChecked(format.fontWeight() >= QFont::Bold);
    m_italic->setChecked(format.fontItalic());
    m_underline->setChecked(format.fontUnderline());
    m_superscript->setChecked(format.verticalAlignment() == QTextCharFormat::AlignSuperScript);
    m_subscript->setChecked(format.verticalAlignment() == QTextCharFormat::AlignSubScript);
    const int size = m_size->findData(qRound(format.fontPointSize()));
    if (size >= 0)
        m_size->setCurrentIndex(size);
    m_family->setCurrentIndex(format.fontStyleHint() == QFont::Serif ||
                                      format.fontFamilies().toStringList().value(0).startsWith(QLatin1String("Times"))
                                  ? 1
                                  : 0);
}

void FormatBar::insertSymbol(const QString &symbol)
{
    if (!m_editor)
        return;
    m_editor->textCursor().insertText(symbol);
    m_editor->setFocus();
}

} // namespace vorlac
