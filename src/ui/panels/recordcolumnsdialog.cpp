#include "panels/recordcolumnsdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlac
{

RecordColumnsDialog::RecordColumnsDialog(const RecordColumns &columns, const QStringList &titles, QWidget *parent,
                                         const QString &reason, bool needWavelength)
    : QDialog(parent), m_titles(titles), m_needWavelength(needWavelength)
{
    setObjectName(QStringLiteral("ColonnesReleve"));
    setWindowTitle(QStringLiteral("Colonnes du relevé"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("Choisir la grandeur que « Relever la mesure » écrit dans chaque colonne "
                                            "du tableau. Une colonne sans titre prend le nom de sa grandeur ; "
                                            "une colonne dont le titre nomme une grandeur ne reçoit qu'elle."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    if (!reason.isEmpty()) {
        auto *why = new QLabel(reason, this);
        why->setObjectName(QStringLiteral("RaisonReleve"));
        why->setWordWrap(true);
        QFont bold = why->font();
        bold.setBold(true);
        why->setFont(bold);
        layout->addWidget(why);
    }
    auto *form = new QFormLayout;
    for (int c = 0; c < 7; ++c) {
        auto *combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("ColonneReleve%1").arg(c + 1));
        for (Quantity q : kQuantities)
            combo->addItem(quantityName(q), static_cast<int>(q));
        combo->setCurrentIndex(combo->findData(static_cast<int>(columns.column[static_cast<std::size_t>(c)])));
        const QString title = c < titles.size() ? titles[c] : QString();
        const QString name = QStringLiteral("C%1").arg(c + 1);
        combo->setToolTip(QStringLiteral("Grandeur écrite dans la colonne %1").arg(name));
        // Alt+1..Alt+7 reach the lists.
        const QString shortcut = QStringLiteral("C&%1").arg(c + 1);
        auto *label =
            new QLabel(title.isEmpty() || title == name
                           ? shortcut + QStringLiteral(" :")
                           : QStringLiteral("%1 (%2) :")
                                 .arg(shortcut, QString(title).replace(QLatin1Char('&'), QStringLiteral("&&"))),
                       this);
        label->setBuddy(combo);
        form->addRow(label, combo);
        m_combos[static_cast<std::size_t>(c)] = combo;
        connect(combo, &QComboBox::currentIndexChanged, this, &RecordColumnsDialog::check);
    }
    layout->addLayout(form);
    m_warning = new QLabel(this);
    m_warning->setObjectName(QStringLiteral("AvertissementReleve"));
    m_warning->setWordWrap(true);
    QPalette pal = m_warning->palette();
    pal.setColor(QPalette::WindowText, QColor(160, 0, 0));
    m_warning->setPalette(pal);
    layout->addWidget(m_warning);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKReleve"));
    ok->setToolTip(QStringLiteral("Garder ce choix pour les prochains relevés"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("AnnulerReleve"));
    cancel->setToolTip(QStringLiteral("Garder le choix précédent"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_ok = ok;
    check();
}

RecordColumns RecordColumnsDialog::columns() const
{
    RecordColumns out;
    for (std::size_t c = 0; c < m_combos.size(); ++c) {
        out.column[c] = static_cast<Quantity>(m_combos[c]->currentData().toInt());
        out.kept[c] = m_titles.value(static_cast<int>(c));
    }
    return out;
}

void RecordColumnsDialog::check()
{
    const RecordColumns chosen = columns();
    QStringList problems;
    if (!chosen.any())
        problems << QStringLiteral("Choisir au moins une grandeur.");
    for (int c = 0; c < static_cast<int>(chosen.column.size()); ++c) {
        const Quantity q = chosen.column[static_cast<std::size_t>(c)];
        // Accepting keeps the titles that name nothing known; one naming another quantity stays refused.
        if (!columnTakes(chosen, m_titles, c, q))
            problems << QStringLiteral("Le titre de C%1, « %2 », désigne une autre grandeur que %3.")
                            .arg(c + 1)
                            .arg(m_titles.value(c), quantitySymbol(q));
    }
    if (m_needWavelength && !chosen.holds(Quantity::Wavelength))
        problems << QStringLiteral("Choisir une colonne pour λ : elle distingue les lignes des cinq radiations.");
    m_warning->setText(problems.join(u'\n'));
    m_warning->setVisible(!problems.isEmpty());
    m_ok->setEnabled(problems.isEmpty());
}

} // namespace vorlac
