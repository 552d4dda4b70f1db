#pragma once

#include <QFont>
#include <QRawFont>
#include <QWidget>
#include <array>

class QLabel;

namespace vorlac
{

// One cell of the grid of measures, as a screen reader finds it: the grid draws the text, this
// object gives it a name ("Mesure2_4": second line, fourth quantity) and an accessible place.
class MeasureCell : public QObject
{
    Q_OBJECT
  public:
    MeasureCell(int cellRow, int cellColumn, QObject *parent) : QObject(parent), row(cellRow), column(cellColumn) {}
    const int row;    // the quantity, from 0 (λ)
    const int column; // 0: the quantity's title; 1 to 5: the lines
};

// The measures of up to five rays, a column each, under a column of titles. A lamp step changes
// some twenty values: drawn by one widget, they cost one paint, not twenty, and no new layout.
class MeasureGrid : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int kRows = 10;   // λ, n, n ext., i, r, r', i', D, critical angle, limit
    static constexpr int kLines = 5;   // columns of values
    static constexpr int kColumns = 6; // the titles and the lines

    struct Title {
        QString text, tip;
    };
    MeasureGrid(const std::array<Title, kRows> &titles, QWidget *parent);

    // A line's values, from λ down; repaints those that changed.
    void setLine(int line, const std::array<const QString *, kRows> &texts);
    void clearLine(int line);
    // The red note over the rows from `fromRow` to the deviation, which the ray does not have;
    // fromRow < 0 hides it.
    void placeNote(int line, int fromRow, const QString &text);

    const QString &text(int row, int column) const { return m_texts[index(row, column)]; }
    const QString &tip(int row) const { return m_titles[std::size_t(row)].tip; }
    QRect cellRect(int row, int column) const;
    MeasureCell *cell(int row, int column) const { return m_cells[index(row, column)]; }
    QLabel *note(int line) const { return m_notes[std::size_t(line)].label; }
    int titleWidth() const { return m_titleWidth; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;

  private:
    static std::size_t index(int row, int column) { return std::size_t(row * kColumns + column); }
    void measure();
    void placeNotes();
    bool bold(int row, int column) const { return column == 0 || row == 0; }
    void drawCell(QPainter &p, const QRect &at, const QString &text, bool heavy, bool left) const;

    std::array<Title, kRows> m_titles;
    std::array<QString, kRows * kColumns> m_texts;
    std::array<MeasureCell *, kRows * kColumns> m_cells{};
    struct Note {
        QLabel *label = nullptr;
        int fromRow = -1;
    };
    std::array<Note, kLines> m_notes;
    QFont m_regular, m_bold;
    QRawFont m_rawRegular, m_rawBold; // their glyphs, for numbers drawn without a text layout
    int m_rowHeight = 0;
    int m_titleWidth = 0;
};

} // namespace vorlac
