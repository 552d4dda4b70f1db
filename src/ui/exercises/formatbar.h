#pragma once

#include <QKeySequence>
#include <QWidget>

class QComboBox;
class QTextCharFormat;
class QTextEdit;
class QToolButton;

namespace vorlac
{

class HintLine;

// The formatting bar of the exercise editor: bold, italic, underline, superscript, subscript,
// colour, size, serif or sans serif, alignment, and a palette of Greek letters and symbols.
// Every change goes through the text's own cursor, so the editor's undo takes it back.
class FormatBar : public QWidget
{
    Q_OBJECT
  public:
    FormatBar(HintLine &hints, QWidget *parent);

    // The editor the bar acts on (nullptr: none); its shortcuts follow it.
    void attach(QTextEdit *editor);

    // The characters of the palette, in order.
    static QStringList symbols();

  private:
    QToolButton *addToggle(const char *name, const QString &text, const QString &tip, const QKeySequence &key,
                           HintLine &hints);
    void mergeFormat(const QTextCharFormat &format);
    void showFormat(const QTextCharFormat &format);
    void insertSymbol(const QString &symbol);

    QTextEdit *m_editor = nullptr;
    QToolButton *m_bold;
    QToolButton *m_italic;
    QToolButton *m_underline;
    QToolButton *m_superscript;
    QToolButton *m_subscript;
    QToolButton *m_colour;
    QComboBox *m_size;
    QComboBox *m_family;
    QToolButton *m_align;
    QToolButton *m_palette;
    QList<QAction *> m_shortcuts;
    QList<QMetaObject::Connection> m_links;
};

} // namespace vorlac
