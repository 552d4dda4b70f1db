#pragma once

#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

class QPushButton;
class QTreeWidget;

namespace vorlac
{

class HintLine;

// One piece of work set aside, as the list shows it.
struct SetAsideRow {
    QString path;
    QDateTime changedAt; // the last change of the work; invalid when it cannot be read
    QString summary;     // what it holds; "" when it cannot be read
    QString reason;      // why it was set aside
};

// "Travail mis de côté": the pieces of unsaved work set aside at start-up, newest first, with
// the date of their last change, what they hold and why they were set aside, and the folder
// they are in. The pupil picks one to open; unreadable ones are listed but cannot be opened.
// Any piece can be deleted for good, through the remover (which asks first).
class SetAsideDialog : public QDialog
{
    Q_OBJECT
  public:
    SetAsideDialog(const QString &folder, const QList<SetAsideRow> &rows, HintLine *hints, QWidget *parent = nullptr);

    // The piece selected, when it can be opened; "" otherwise.
    QString chosenPath() const;
    QTreeWidget *list() const { return m_list; }
    QPushButton *openButton() const { return m_open; }
    QPushButton *removeButton() const { return m_remove; }
    // Deletes the piece at a path; false when it was kept (the pupil said no, or it failed).
    void setRemover(std::function<bool(const QString &path)> remover);

  private:
    void removeCurrent();
    void updateButtons();

    QTreeWidget *m_list;
    QPushButton *m_open;
    QPushButton *m_remove;
    std::function<bool(const QString &)> m_remover;
};

} // namespace vorlac
