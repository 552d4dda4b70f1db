#include "table/formatdialog.h"

#include "common/numberpattern.h"
#include "table/valuetable.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace vorlac
{

namespace
{

constexpr int kOptionTop = 44;
constexpr int kOptionStep = 28;
constexpr int kExampleLeft = 268;
constexpr int kExampleWidth = 92;

} // namespace

const std::array<FormatDialog::Choice, 5> &FormatDialog::choices()
{
    static const std::array<Choice, 5> list{{
        {"Option1", QStringLiteral("Standard1: 2 chiffres après la virgule"), QString(kPatternFixed2)},
        {"Option2", QStringLiteral("Standard2: 3 chiffres après la virgule"), QString(kPatternFixed3)},
        {"Option3", QStringLiteral("Standard3: libre"), QString(kPatternGeneral)},
        {"Option4", QStringLiteral("Scientifique1: 3 chiffres significatifs"), QString(kPatternScientific3)},
        {"Option5", QStringLiteral("Scientifique2: 4 chiffres significatifs"), QString(kPatternScientific4)},
    }};
    return list;
}

QStringList FormatDialog::examples(const QString &pattern)
{
    QStringList out;
    for (float v : {3.1415927f, -32135.35f, 0.0258f})
        out << ValueTable::singleText(v, pattern);
    return out;
}

FormatDialog::FormatDialog(const QString &currentPattern, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Formatdonnees"));
    setWindowTitle(QStringLiteral("Format d'écritue des données dans le tableau"));
    setFixedSize(kExampleLeft + 3 * kExampleWidth + 12, kOptionTop + 5 * kOptionStep + 52);
    setModal(true);

    auto *hint =
        new QLabel(QStringLiteral("Choisir une option d'affichage en vous aidant du tableau d'exemples."), this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setGeometry(12, 8, width() - 24, 28);
    hint->setWordWrap(true);

    auto *group = new QButtonGroup(this);
    for (std::size_t i = 0; i < choices().size(); ++i) {
        const Choice &c = choices()[i];
        auto *b = new QRadioButton(c.caption, this);
        b->setObjectName(QString::fromLatin1(c.name));
        b->setGeometry(12, kOptionTop + static_cast<int>(i) * kOptionStep, kExampleLeft - 16, 22);
        group->addButton(b, static_cast<int>(i));
        b->setChecked(c.pattern == currentPattern);
        m_options[i] = b;
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setGeometry(width() - 212, height() - 40, 97, 29);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setGeometry(width() - 109, height() - 40, 97, 29);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<QString> FormatDialog::pattern() const
{
    for (std::size_t i = 0; i < m_options.size(); ++i)
        if (m_options[i]->isChecked())
            return choices()[i].pattern;
    return std::nullopt;
}

void FormatDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(Qt::black);
    p.setFont(font());
    for (std::size_t i = 0; i < choices().size(); ++i) {
        const QStringList texts = examples(choices()[i].pattern);
        const int y = kOptionTop + static_cast<int>(i) * kOptionStep;
        for (int k = 0; k < texts.size(); ++k)
            p.drawText(QRect(kExampleLeft + k * kExampleWidth, y, kExampleWidth - 8, 22),
                       Qt::AlignRight | Qt::AlignVCenter, texts[k]);
    }
}

} // namespace vorlac
