#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

namespace vorlac
{

class ValueTable;

// The calculator's keys. Their names (keyName) are the objectNames of the window's buttons.
enum class CalculatorKey {
    B0,
    B1,
    B2,
    B3,
    B4,
    B5,
    B6,
    B7,
    B8,
    B9,
    Bpoint,
    BtoEXP,
    pico,
    nano,
    micro,
    mil,
    kilo,
    mega,
    giga,
    tera,
    plus,
    moins,
    multip,
    div,
    puissance,
    btcarre,
    Bpo,
    bpf,
    bsin,
    Bcos,
    Btan,
    invsin,
    invcos,
    Btoncommande3,
    Blog,
    Bln,
    Bexp,
    B10x,
    racine,
    Command5,
    pi,
    C1,
    C2,
    C3,
    C4,
    C5,
    C6,
    C7, // the column keys Command6(0..6)
    ANS,
    EFFACE,
    RAZ,
    EXE,
    MemoryPlus,
    MemoryMinus,
    MemoryRecall,
    MemoryClear, // Command1 .. Command4
};

inline constexpr int kCalculatorKeyCount = int(CalculatorKey::MemoryClear) + 1;

// objectName of a key's button: "B7", "plus", "Command6" for every column key, "Command1" for M+.
QString keyName(CalculatorKey key);

// Texts of the display.
inline constexpr char16_t kPatienceText[] = u"    Patience... Calculs en cours.     ";
QString calculatorErrorMessage(int evalError); // 1..4; "" otherwise
// The longest formula a column can keep (one situation-file record).
inline constexpr int kMaxFormulaLength = 126;

// A result number text as the display shows it: the number text with a leading blank when it is
// not negative (" 42", " .5", "-3"), or with scientific the pattern "#.#######E+00" ("2.5E+02");
// "." whatever the regional settings. nullopt when the text reads as no finite number.
std::optional<QString> displayOfResult(const QString &numberText, bool scientific);

// The text a cell value takes in a formula: the shortest number text that reads back as the same
// single (a cell 0,1 gives (.1), not .100000001490116), in parentheses so that a reference stays
// one operand: "C3 + C1 ^ 2" with C1 = -3 is C3 + 9, and "C12" does not glue the 2 to the value.
QString referenceText(float value);

// Per-line progress of a column computation: (line, last line).
using ColumnProgress = std::function<void(int line, int lastLine)>;

// Computes column col of the table from formula, line by line: the references C1..C7 take the
// line's cell values, a line with an empty (or non-number) referenced cell, an evaluation error
// or a result out of the single range is emptied and counted. formula is stored as the column's
// ColumnExpression first. Returns the count of lines not computed.
int ComputeColumn(ValueTable &table, int col, const QString &formula, int angleMode, bool scientific,
                  const ColumnProgress &progress = {});

// The final message of a column computation with count lines not computed ("" for none).
QString uncomputedMessage(int count);

// The calculator's key logic, without widgets. The memory is a reference to a double that lives
// as long as the program (the owner of the calculator's openings), so it survives closings.
class Calculator
{
  public:
    explicit Calculator(double &memory);

    // Called for every beep, and with every text the display shows (the view repaints it).
    std::function<void()> beep;
    std::function<void(const QString &)> displayShown;

    // Column mode for column col (0..6), with a formula preloaded ("Recalculer") or none.
    void openColumnMode(int col, const QString &preload = QString());
    int column() const { return m_column; }

    // Options, reset at every opening: degrees and the standard display.
    bool radians = false;
    bool scientific = false;
    int angleMode() const;
    // The "Affichage" option buttons: sets the mode and shows the last answer again in it.
    void chooseDisplay(bool scientificMode);

    void press(CalculatorKey key);
    // A typed character; Enter is '\r' or '\n', Backspace U+0008. False when it is ignored.
    bool type(QChar ch);

    // EXE in column mode does not compute: it tells the window to run the computation.
    enum class Exe { Shown, ComputeColumn, Ignored };
    Exe lastExe() const { return m_lastExe; }
    // The column computation of the entry for the column of column mode (ComputeColumn).
    int computeColumn(ValueTable &table, const ColumnProgress &progress = {});

    const QString &entryText() const { return m_entry; }
    int evalError() const { return m_evalError; }
    const QString &display() const { return m_display; }
    double memory() const { return m_memory; }

  private:
    bool columnMode() const { return m_column >= 0; }
    void show(const QString &text);
    void ring();
    bool append(const QString &text);
    bool appendWithProduct(const QString &text);
    void answer();
    void operatorFromAnswer(const QString &op, bool needsDisplay);
    void minus();
    void erase();
    void exe();
    QString memoryText() const;

    double &m_memory;
    int m_column = -1;
    QString m_entry;
    QString m_lastAnswer;
    QString m_display;
    int m_evalError = 0;
    Exe m_lastExe = Exe::Shown;
};

} // namespace vorlac
