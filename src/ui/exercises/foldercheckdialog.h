#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace vorlac
{

// "Vérifier un dossier d'exercices…": the lines of the check, which can be selected and copied
// (the whole list with one button).
class FolderCheckDialog : public QDialog
{
    Q_OBJECT
  public:
    FolderCheckDialog(const QStringList &lines, QWidget *parent);

    QPlainTextEdit *list() const { return m_list; }
    QPushButton *copyButton() const { return m_copy; }

  private:
    QPlainTextEdit *m_list;
    QPushButton *m_copy;
};

} // namespace vorlac
