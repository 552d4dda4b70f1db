#include "table/nblignesdialog.h"

#include "common/updown.h"
#include "table/valuetable.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace vorlac
{

NbLignesDialog::NbLignesDialog(int dataLines, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_upDown(new UpDown(this)), m_value(new QLabel(this))
{
    setObjectName(QStringLiteral("fnblignes"));
    setWindowTitle(QStringLiteral("Nombre de lignes du tableau"));
    setFixedSize(449, 137);
    setModal(true);

    m_value->setObjectName(QStringLiteral("Label1"));
    m_value->setGeometry(176, 56, 41, 25);
    m_value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_value->setAlignment(Qt::AlignCenter);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(10);
    m_value->setFont(bold);

    m_upDown->setObjectName(QStringLiteral("UpDown1"));
    m_upDown->setGeometry(218, 56, 17, 25);
    m_upDown->setRange(1, ValueTable::kMaxRows - 1);
    connect(m_upDown, &UpDown::valueChanged, this, [this](int v) { m_value->setText(QString::number(v)); });

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setGeometry(336, 96, 97, 29);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setGeometry(224, 96, 97, 29);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_upDown->setValue(dataLines);
    m_value->setText(QString::number(m_upDown->value()));
}

int NbLignesDialog::dataLines() const
{
    return m_upDown->value();
}

void NbLignesDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(10);
    p.setFont(bold);
    p.setPen(Qt::black);
    p.drawText(QRect(16, 6, 425, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Modifier le nombre de lignes du tableau (de 1 à 100)"));
    p.drawText(QRect(16, 26, 425, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("sans compter la première ligne."));
    p.drawText(QRect(16, 56, 156, 25), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Nombre de lignes..."));
}

} // namespace vorlac
