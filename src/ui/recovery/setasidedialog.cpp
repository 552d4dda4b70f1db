#include "recovery/setasidedialog.h"

#include "common/hintline.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vorlac
{

namespace
{

constexpr int kPathRole = Qt::UserRole;
constexpr int kReadableRole = Qt::UserRole + 1;

} // namespace

SetAsideDialog::SetAsideDialog(const QString &folder, const QList<SetAsideRow> &rows, HintLine *hints, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("travailEcarte"));
    setWindowTitle(QStringLiteral("Travail mis de côté"));
    setModal(true);
    resize(820, 320);

    auto *layout = new QVBoxLayout(this);
    auto *where = new QLabel(
        (rows.isEmpty() ? QStringLiteral("Aucun travail non enregistré n'est mis de côté dans le dossier ")
                        : QStringLiteral("Travail non enregistré mis de côté au démarrage, dans le dossier ")) +
            QDir::toNativeSeparators(folder) + QLatin1Char('.'),
        this);
    where->setObjectName(QStringLiteral("dossierEcarts"));
    where->setWordWrap(true);
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(where);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("listeEcarts"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels(
        {QStringLiteral("Dernière modification"), QStringLiteral("Contenu"), QStringLiteral("Mis de côté")});
    const QLocale french(QLocale::French, QLocale::France);
    for (const SetAsideRow &row : rows) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, row.changedAt.isValid() ? french.toString(row.changedAt, QStringLiteral("dd/MM/yyyy HH:mm"))
                                                 : QStringLiteral("?"));
        item->setText(1, row.summary.isEmpty() ? QStringLiteral("illisible : ne peut pas être ouvert") : row.summary);
        item->setText(2, row.reason);
        item->setData(0, kPathRole, row.path);
        item->setData(0, kReadableRole, !row.summary.isEmpty());
        item->setToolTip(1, item->text(1) + QLatin1Char('\n') + QDir::toNativeSeparators(row.path));
        if (row.summary.isEmpty()) // can be chosen to delete it, never to open it
            for (int c = 0; c < 3; ++c)
                item->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
    }
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(false);
    layout->addWidget(m_list);

    auto *buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(QStringLiteral("Ouvrir"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName(QStringLiteral("ouvrirEcart"));
    m_open->setToolTip(QStringLiteral("Ouvrir le travail choisi à la place du travail en cours"));
    m_remove = buttons->addButton(QStringLiteral("Supprimer…"), QDialogButtonBox::ActionRole);
    m_remove->setObjectName(QStringLiteral("supprimerEcart"));
    m_remove->setToolTip(QStringLiteral("Supprimer définitivement le travail choisi"));
    QPushButton *close = buttons->addButton(QStringLiteral("Fermer"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("fermerEcarts"));
    close->setToolTip(QStringLiteral("Fermer cette fenêtre sans rien ouvrir"));
    if (hints) {
        hints->addHint(m_open, QStringLiteral("Ouvrir le travail mis de côté choisi : il remplace la situation en "
                                              "cours, comme l'ouverture d'une configuration"));
        hints->addHint(m_remove, QStringLiteral("Supprimer définitivement le travail mis de côté choisi, après "
                                                "confirmation : il ne pourra plus être ouvert"));
        hints->addHint(close, QStringLiteral("Fermer la liste du travail mis de côté sans rien ouvrir"));
    }
    layout->addWidget(buttons);

    connect(m_list, &QTreeWidget::currentItemChanged, this, &SetAsideDialog::updateButtons);
    connect(m_remove, &QPushButton::clicked, this, &SetAsideDialog::removeCurrent);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!chosenPath().isEmpty())
            accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (m_list->topLevelItem(i)->data(0, kReadableRole).toBool()) {
            m_list->setCurrentItem(m_list->topLevelItem(i));
            break;
        }
    updateButtons();
}

QString SetAsideDialog::chosenPath() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item && item->data(0, kReadableRole).toBool() ? item->data(0, kPathRole).toString() : QString();
}

void SetAsideDialog::setRemover(std::function<bool(const QString &)> remover)
{
    m_remover = std::move(remover);
    updateButtons();
}

void SetAsideDialog::updateButtons()
{
    m_open->setEnabled(!chosenPath().isEmpty());
    m_remove->setEnabled(m_remover && m_list->currentItem());
}

void SetAsideDialog::removeCurrent()
{
    QTreeWidgetItem *item = m_list->currentItem();
    if (!item || !m_remover || !m_remover(item->data(0, kPathRole).toString()))
        return;
    delete item;
    updateButtons();
}

} // namespace vorlac
