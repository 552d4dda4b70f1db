#include "sweeps/sweepdialog.h"

#include "common/hintline.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vorlac
{

SweepDialog::SweepDialog(HintLine *hints, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PasBalayage"));
    setWindowTitle(QStringLiteral("Balayage"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Remplir le tableau avec :"), this));

    m_incidence = new QRadioButton(QStringLiteral("D en fonction de &i"), this);
    m_incidence->setObjectName(QStringLiteral("BalayageIncidence"));
    const QString incidenceHint = QStringLiteral(
        "D pour la longueur d'onde du minimum de déviation, de l'incidence limite jusqu'à 90° avec le pas "
        "choisi");
    m_incidence->setToolTip(incidenceHint);
    layout->addWidget(m_incidence);

    auto *stepRow = new QFormLayout;
    stepRow->setContentsMargins(24, 0, 0, 0);
    m_step = new QDoubleSpinBox(this);
    m_step->setObjectName(QStringLiteral("PasIncidence"));
    m_step->setLocale(QLocale(QLocale::French, QLocale::France));
    m_step->setRange(0.1, 45.0);
    m_step->setDecimals(1);
    m_step->setSingleStep(0.5);
    m_step->setValue(1.0);
    m_step->setSuffix(QStringLiteral(" °"));
    const QString stepHint = QStringLiteral("Pas de l'angle d'incidence entre deux lignes du tableau, en degrés");
    m_step->setToolTip(stepHint);
    auto *stepLabel = new QLabel(QStringLiteral("&Pas de l'angle d'incidence :"), this);
    stepLabel->setBuddy(m_step);
    stepRow->addRow(stepLabel, m_step);
    layout->addLayout(stepRow);

    m_spectrum = new QRadioButton(QStringLiteral("D&min, n et λ tous les 10 nm"), this);
    m_spectrum->setObjectName(QStringLiteral("BalayageSpectre"));
    const QString spectrumHint = QStringLiteral("λ, Dmin et n de 400 à 800 nm, tous les 10 nm (41 lignes)");
    m_spectrum->setToolTip(spectrumHint);
    layout->addWidget(m_spectrum);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setToolTip(QStringLiteral("Remplir le tableau"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    buttons->button(QDialogButtonBox::Cancel)->setToolTip(QStringLiteral("Fermer sans rien écrire"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // The step means nothing for the spectrum.
    connect(m_incidence, &QRadioButton::toggled, m_step, &QWidget::setEnabled);
    connect(m_incidence, &QRadioButton::toggled, stepLabel, &QWidget::setEnabled);
    m_incidence->setChecked(true);
    m_step->setFocus();

    if (hints) {
        hints->addHint(m_incidence, incidenceHint);
        hints->addHint(m_step, stepHint);
        hints->addHint(m_spectrum, spectrumHint);
    }
}

SweepChoice SweepDialog::choice() const
{
    return {m_spectrum->isChecked() ? SweepChoice::Kind::MinimumEvery10nm
                                    : SweepChoice::Kind::DeviationAgainstIncidence,
            m_step->value()};
}

void SweepDialog::setChoice(const SweepChoice &choice)
{
    const bool spectrum = choice.kind == SweepChoice::Kind::MinimumEvery10nm;
    (spectrum ? m_spectrum : m_incidence)->setChecked(true);
    m_step->setValue(choice.step);
    (spectrum ? static_cast<QWidget *>(m_spectrum) : m_step)->setFocus();
}

std::optional<SweepChoice> askSweepChoice(QWidget *parent, HintLine *hints, const SweepChoice &last)
{
    SweepDialog dialog(hints, parent);
    dialog.setChoice(last);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace vorlac
