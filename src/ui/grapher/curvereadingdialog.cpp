#include "grapher/curvereadingdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace vorlac
{

CurveReadingDialog::CurveReadingDialog(const std::vector<std::pair<QString, double>> &lines, const QLocale &locale,
                                       QWidget *parent)
    : QDialog(parent), m_locale(locale)
{
    setObjectName(QStringLiteral("lectureCourbe"));
    setWindowTitle(QStringLiteral("Lire sur la courbe"));
    auto *layout = new QVBoxLayout(this);
    auto *caption = new QLabel(QStringLiteral("&Valeur de y (ordonnée) :"), this);
    layout->addWidget(caption);
    m_value = new QComboBox(this);
    m_value->setObjectName(QStringLiteral("valeurY"));
    m_value->setEditable(true);
    m_value->setInsertPolicy(QComboBox::NoInsert);
    for (const auto &[label, v] : lines)
        m_value->addItem(label, v);
    m_value->setCurrentIndex(-1);
    m_value->lineEdit()->setPlaceholderText(locale.toString(1.5, 'f', 1));
    m_value->setToolTip(QStringLiteral("Taper une valeur de y ou choisir une ligne du tableau"));
    m_value->setMinimumWidth(220);
    caption->setBuddy(m_value);
    layout->addWidget(m_value);
    auto *hint = new QLabel(QStringLiteral("L'abscisse x est calculée sur la courbe ajustée, puis tracée avec "
                                           "ses traits de construction."),
                            this);
    hint->setObjectName(QStringLiteral("info"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("erreur"));
    m_error->setStyleSheet(QStringLiteral("color: #c00000"));
    layout->addWidget(m_error);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Lire"));
    buttons->button(QDialogButtonBox::Ok)->setToolTip(QStringLiteral("Lire l'abscisse sur la courbe"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CurveReadingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::optional<double> CurveReadingDialog::value() const
{
    const QString text = m_value->currentText().trimmed();
    const int line = m_value->findText(text);
    if (line >= 0)
        return m_value->itemData(line).toDouble();
    bool ok = false;
    const double v = m_locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

void CurveReadingDialog::accept()
{
    if (!value()) {
        m_error->setText(QStringLiteral("Écrire un nombre, par exemple %1, ou choisir une ligne du tableau.")
                             .arg(m_locale.toString(1.52, 'f', 2)));
        return;
    }
    QDialog::accept();
}

} // namespace vorlac
