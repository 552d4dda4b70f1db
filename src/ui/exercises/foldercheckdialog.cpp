#include "exercises/foldercheckdialog.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlac
{

FolderCheckDialog::FolderCheckDialog(const QStringList &lines, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("verifdossier"));
    setWindowTitle(QStringLiteral("Vérification du dossier d'exercices"));
    auto *column = new QVBoxLayout(this);
    m_list = new QPlainTextEdit(this);
    m_list->setObjectName(QStringLiteral("listeverif"));
    m_list->setReadOnly(true);
    m_list->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_list->setPlainText(lines.join(QLatin1Char('\n')));
    m_list->setAccessibleName(QStringLiteral("Résultat de la vérification"));
    m_list->setToolTip(QStringLiteral("Ce qui empêcherait un élève d'ouvrir les exercices de ce dossier"));
    column->addWidget(m_list);
    auto *buttons = new QHBoxLayout;
    m_copy = new QPushButton(QStringLiteral("&Copier la liste"), this);
    m_copy->setObjectName(QStringLiteral("copieverif"));
    m_copy->setToolTip(QStringLiteral("Copier toute la liste dans le presse-papiers"));
    connect(m_copy, &QPushButton::clicked, this, [this] {
        QApplication::clipboard()->setText(m_list->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    });
    auto *close = new QPushButton(QStringLiteral("&Fermer"), this);
    close->setObjectName(QStringLiteral("fermeverif"));
    close->setToolTip(QStringLiteral("Fermer la liste"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(m_copy);
    buttons->addStretch();
    buttons->addWidget(close);
    column->addLayout(buttons);
    resize(620, 360);
}

} // namespace vorlac
