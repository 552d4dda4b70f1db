#include "calculator/machine.h"

#include "calculator/avancalc.h"
#include "common/messenger.h"
#include "table/valuetable.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <utility>

namespace vorlac
{

namespace
{

using K = CalculatorKey;

struct KeyLook {
    K key;
    int column, row; // in the keypad grid
    const char *caption;
    const char *tooltip;
    int span = 1;
};

// Eight columns: functions and prefixes on the left, the number pad on the right.
const KeyLook kLooks[] = {
    {K::bsin, 0, 0, "&SIN", "Sinus"},
    {K::invsin, 1, 0, "INV S&IN", "Inverse sinus"},
    {K::Blog, 2, 0, "&Log", ""},
    {K::B10x, 3, 0, "10ˣ", ""},
    {K::B7, 4, 0, "7", ""},
    {K::B8, 5, 0, "8", ""},
    {K::B9, 6, 0, "9", ""},
    {K::div, 7, 0, "÷", ""},
    {K::Bcos, 0, 1, "&COS", "Cosinus"},
    {K::invcos, 1, 1, "INV C&OS", "Inverse cosinus"},
    {K::Bln, 2, 1, "l&n", ""},
    {K::racine, 3, 1, "√", "Racine carré"},
    {K::B4, 4, 1, "4", ""},
    {K::B5, 5, 1, "5", ""},
    {K::B6, 6, 1, "6", ""},
    {K::multip, 7, 1, "×", ""},
    {K::Btan, 0, 2, "&TAN", "Tangente"},
    {K::Btoncommande3, 1, 2, "INV T&AN", "Inverse tangente"},
    {K::Bexp, 2, 2, "eˣ", ""},
    {K::Command5, 3, 2, "1/x", ""},
    {K::B1, 4, 2, "1", ""},
    {K::B2, 5, 2, "2", ""},
    {K::B3, 6, 2, "3", ""},
    {K::moins, 7, 2, "-", ""},
    {K::btcarre, 0, 3, "x²", ""},
    {K::puissance, 1, 3, "xʸ", ""},
    {K::Bpo, 2, 3, "(", ""},
    {K::bpf, 3, 3, ")", ""},
    {K::B0, 4, 3, "0", ""},
    {K::Bpoint, 5, 3, ".", ""},
    {K::BtoEXP, 6, 3, "EXP", ""},
    {K::plus, 7, 3, "+", ""},
    {K::pico, 0, 4, "p", "pico"},
    {K::nano, 1, 4, "n", "nano"},
    {K::micro, 2, 4, "µ", "micro"},
    {K::mil, 3, 4, "m", "milli"},
    {K::pi, 4, 4, "π", "3.1415927"},
    {K::EFFACE, 5, 4, "←", "Effacer dernier caractère"},
    {K::RAZ, 6, 4, "AC", "Tout effacer"},
    {K::ANS, 7, 4, "ANS", "Dernière réponse"},
    {K::kilo, 0, 5, "k", "kilo"},
    {K::mega, 1, 5, "M", "Méga"},
    {K::giga, 2, 5, "G", "Giga"},
    {K::tera, 3, 5, "T", "Téra"},
    {K::MemoryPlus, 4, 5, "M+", ""},
    {K::MemoryMinus, 5, 5, "M-", ""},
    {K::MemoryRecall, 6, 5, "RM", "Rappel mémoire"},
    {K::MemoryClear, 7, 5, "CM", "Effacer la mémoire"},
    {K::EXE, 4, 6, "EXE", "Calculer", 4},
};

constexpr int kWidth = 424;
constexpr int kKeypadTop = 174;
constexpr int kStepX = 52, kStepY = 32, kKeyW = 48, kKeyH = 28;

QPushButton *makeKey(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Reached with Tab and pressed with Space; a click leaves the focus where it was.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    return b;
}

QRadioButton *option(QGroupBox *box, const char *name, const QString &caption, QRect geometry)
{
    auto *r = new QRadioButton(caption, box);
    r->setObjectName(QString::fromLatin1(name));
    r->setGeometry(geometry);
    r->setFocusPolicy(Qt::TabFocus);
    return r;
}

} // namespace

Machine::Machine(double &memory, const Messenger &messenger, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_messenger(messenger),
      m_calc(memory)
{
    setObjectName(QStringLiteral("Machine"));
    setWindowTitle(QStringLiteral("Machine à calculer"));
    if (parent)
        setFont(parent->font());
    setFixedSize(kWidth, kKeypadTop + 7 * kStepY + 4);

    m_z1 = new QLineEdit(this);
    m_z1->setObjectName(QStringLiteral("z1"));
    m_z1->setReadOnly(true);
    m_z1->setGeometry(8, 16, kWidth - 16, 89);
    m_displayFont = font();
    m_displayFont.setPixelSize(22);
    m_z1->setFont(m_displayFont);
    m_z1->installEventFilter(this);

    for (const KeyLook &look : kLooks) {
        QPushButton *b = makeKey(this, keyName(look.key), QString::fromUtf8(look.caption));
        b->setGeometry(8 + look.column * kStepX, kKeypadTop + look.row * kStepY, kKeyW + (look.span - 1) * kStepX,
                       kKeyH);
        if (*look.tooltip)
            b->setToolTip(QString::fromUtf8(look.tooltip));
        const K key = look.key;
        connect(b, &QPushButton::clicked, this, [this, key] { press(key); });
        m_keys[int(key)] = b;
    }
    for (int i = 0; i < 7; ++i) {
        const K key = K(int(K::C1) + i);
        QPushButton *b = makeKey(this, QStringLiteral("Command6_%1").arg(i), QStringLiteral("C%1").arg(i + 1));
        b->setGeometry(8 + i * 58, 94, 56, 24);
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, key] { press(key); });
        m_keys[int(key)] = b;
    }

    auto *angles = new QGroupBox(QStringLiteral("Angles"), this);
    angles->setGeometry(8, 122, 200, 44);
    m_degrees = option(angles, "angle0", QStringLiteral("Degrés"), QRect(10, 18, 80, 20));
    m_radians = option(angles, "angle1", QStringLiteral("Radians"), QRect(104, 18, 88, 20));
    auto *display = new QGroupBox(QStringLiteral("Affichage"), this);
    display->setGeometry(216, 122, 200, 44);
    m_scientific = option(display, "C0", QStringLiteral("Scientifique"), QRect(10, 18, 98, 20));
    m_standard = option(display, "C1", QStringLiteral("Standard"), QRect(112, 18, 84, 20));
    m_degrees->setChecked(true);
    m_standard->setChecked(true);
    // Tab goes from the display to the column names above the keypad, then the keys row by row,
    // then the options.
    QWidget *previous = m_z1;
    for (int i = 0; i < 7; ++i)
        setTabOrder(std::exchange(previous, m_keys[int(K::C1) + i]), m_keys[int(K::C1) + i]);
    for (const KeyLook &look : kLooks)
        setTabOrder(std::exchange(previous, m_keys[int(look.key)]), m_keys[int(look.key)]);
    for (QWidget *w : {static_cast<QWidget *>(m_degrees), static_cast<QWidget *>(m_radians),
                       static_cast<QWidget *>(m_scientific), static_cast<QWidget *>(m_standard)})
        setTabOrder(std::exchange(previous, w), w);

    connect(m_radians, &QRadioButton::toggled, this, [this](bool on) { m_calc.radians = on; });
    connect(m_scientific, &QRadioButton::clicked, this, [this] { m_calc.chooseDisplay(true); });
    connect(m_standard, &QRadioButton::clicked, this, [this] { m_calc.chooseDisplay(false); });

    m_calc.beep = [] { QApplication::beep(); };
    m_calc.displayShown = [this](const QString &text) { showDisplay(text); };
}

void Machine::openColumnMode(ValueTable &table, int col, bool recalculate)
{
    m_table = &table;
    setWindowTitle(QStringLiteral("Calculer: C%1 =").arg(col + 1));
    m_z1->setGeometry(8, 8, kWidth - 16, 81);
    for (int i = 0; i < 7; ++i) {
        QPushButton *b = m_keys[int(K::C1) + i];
        b->show();
        b->setEnabled(i != col); // a column cannot refer to itself
    }
    // recalcule: the stored formula goes into the display and the entry.
    m_calc.openColumnMode(col, recalculate ? table.ColumnExpression(col) : QString());
}

void Machine::showDisplay(const QString &text)
{
    // The caret follows the entry at its end. An error message is read from its start
    // ("Erreur saisie: ..."), in a smaller type when it is longer than the display.
    const bool message = m_calc.evalError() != 0 && text == calculatorErrorMessage(m_calc.evalError());
    QFont type = m_displayFont;
    const int room = m_z1->width() - 12; // the frame and the line edit's own margins
    const int wide = QFontMetrics(type).horizontalAdvance(text);
    if (message && wide > room)
        type.setPixelSize(std::max(11, type.pixelSize() * room / wide));
    m_z1->setFont(type);
    m_z1->setText(text);
    // A key pressed from the keyboard keeps the focus, so that the next Tab goes on from it.
    QWidget *focused = focusWidget();
    if (!focused || focused == m_z1 || !focused->isVisible())
        m_z1->setFocus();
    m_z1->setCursorPosition(message ? 0 : int(text.size()));
    m_z1->repaint();
}

void Machine::press(CalculatorKey key)
{
    m_calc.press(key);
    // An overflowing result switches the display back to Standard.
    if (m_calc.scientific != m_scientific->isChecked())
        (m_calc.scientific ? m_scientific : m_standard)->setChecked(true);
    if (key == K::EXE && m_calc.lastExe() == Calculator::Exe::ComputeColumn)
        computeColumn();
}

void Machine::computeColumn()
{
    QWidget *owner = parentWidget();
    hide();
    if (owner)
        owner->repaint();
    Avancalc progress(owner);
    progress.show();
    progress.repaint();
    // Paint it once; user input stays out, so EXE cannot come again meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const int count = m_calc.computeColumn(*m_table, [&](int line, int last) { progress.setProgress(line, last); });
    m_z1->hide();
    if (count != 0)
        m_messenger.critical(owner, QStringLiteral("Calcul terminé"), uncomputedMessage(count));
    progress.close();
    accept();
}

bool Machine::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_z1 && event->type() == QEvent::KeyPress) {
        // Tab leaves the display for the keys; it is no character of a formula.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return QDialog::eventFilter(watched, event);
        keyPressEvent(static_cast<QKeyEvent *>(event));
        return true;
    }
    if (watched == m_z1 && event->type() == QEvent::FocusIn) {
        // The dialog gives its first focus as a Tab, on which a line edit selects all its text:
        // "Recalculer" would open with the whole formula selected. The caret stays where it is.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) {
            QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(m_z1, &plain);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Machine::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        press(K::EXE);
        return;
    case Qt::Key_Backspace:
        press(K::EFFACE);
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() == 1 && text[0] != u'\r' && text[0] != u'\b')
        m_calc.type(text[0]);
}

} // namespace vorlac
