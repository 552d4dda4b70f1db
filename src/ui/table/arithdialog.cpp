#include "table/arithdialog.h"

#include "common/messenger.h"
#include "common/regional.h"
#include "table/valuetable.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace vorlac
{

namespace
{

const char *const kLabels[3] = {"Première valeur:", "Dernière valeur:", "Incrément (raison):"};
constexpr int kBoxTop = 16;
constexpr int kBoxStep = 32;

} // namespace

ArithDialog::ArithDialog(const ValueTable &table, const Messenger &messenger, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_table(table), m_messenger(messenger)
{
    setObjectName(QStringLiteral("arith"));
    setWindowTitle(QStringLiteral("Suite arithmétique"));
    setFixedSize(289, 161);
    setModal(true);

    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        auto *b = new QLineEdit(this);
        b->setObjectName(QStringLiteral("Text1"));
        b->setProperty("index", static_cast<int>(i));
        // The caption drawn beside the box, without its colon.
        b->setAccessibleName(QString::fromUtf8(kLabels[i]).chopped(1));
        b->setGeometry(160, kBoxTop + static_cast<int>(i) * kBoxStep, 113, 23);
        b->setMaxLength(ValueTable::kMaxTextLength);
        b->setContextMenuPolicy(Qt::NoContextMenu); // no pasting around the key filter
        b->installEventFilter(this);
        m_boxes[i] = b;
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setGeometry(176, 120, 97, 29);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setGeometry(64, 120, 97, 29);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &ArithDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool ArithDialog::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        normalise(box);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->matches(QKeySequence::Paste))
        return true;
    const QString text = key->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return false; // Backspace, Enter, arrows: the box's own handling
    const QChar mapped = regionalKeyFilter(text.at(0), m_table.locale(), true);
    if (mapped.isNull())
        return true;
    if (mapped != text.at(0)) {
        box->insert(QString(mapped));
        return true;
    }
    return false;
}

void ArithDialog::normalise(QLineEdit *box)
{
    const std::optional<float> v = m_table.readValue(box->text());
    box->setText(v ? ValueTable::singleText(*v, QString(), m_table.locale()) : QString());
}

void ArithDialog::onOk()
{
    for (QLineEdit *b : m_boxes)
        normalise(b);
    const std::optional<float> first = m_table.readValue(m_boxes[0]->text());
    const std::optional<float> last = m_table.readValue(m_boxes[1]->text());
    const std::optional<float> step = m_table.readValue(m_boxes[2]->text());
    ValueTable::FillResult result = ValueTable::FillResult::Invalid;
    if (first && last && step)
        result = ValueTable::checkArithmetic(*first, *last, *step);
    switch (result) {
    case ValueTable::FillResult::Invalid:
        m_messenger.critical(this, QStringLiteral("Erreur saisie"), QStringLiteral("Ces valeurs ne sont pas valides"));
        return;
    case ValueTable::FillResult::TooManyLines:
        m_messenger.critical(this, QStringLiteral("Dépassement de capacité"),
                             QStringLiteral("Le tableau ne peut avoir plus de 100 lignes"));
        return;
    case ValueTable::FillResult::Filled:
        m_sequence = {*first, *last, *step};
        accept();
        return;
    }
}

void ArithDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(Qt::black);
    for (int i = 0; i < 3; ++i)
        p.drawText(QRect(16, kBoxTop + i * kBoxStep, 140, 23), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(kLabels[i]));
}

} // namespace vorlac
