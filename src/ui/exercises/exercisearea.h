#pragma once

#include "exercises/exercisesession.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QMenu;
class QTextDocument;
class QTextEdit;

namespace vorlac
{

class ClickLabel;
class HintLine;

// The exercise area: the "Exercices" tab `btexo` with its menu `optionexo`, the file name line
// `fich` and the text `supertext` (the introduction at start-up, then an exercise's statement).
class ExerciseArea : public QWidget
{
    Q_OBJECT
  public:
    ExerciseArea(HintLine &hints, QWidget *parent);

    ClickLabel *tab() const { return m_tab; }
    QLineEdit *fileField() const { return m_file; } // shows session().fileName()
    QTextEdit *text() const { return m_text; }
    QMenu *menu() const { return m_menu; }
    QAction *menuAction(const char *name) const; // an item of optionexo, by name

    void showIntroduction();
    void openMenu(); // enables what applies, then pops optionexo up under the tab

    // Replaces the text with what load writes into the document; load returns false (and leaves
    // the document as it was) when it fails. A load is not an edit: it leaves
    // the session's exerciseTextModified alone, and Ctrl+Z cannot bring the previous text back.
    bool loadText(const std::function<bool(QTextDocument &)> &load);

    // What is known of the open exercise (edited, with a correction).
    ExerciseSession &session() { return m_session; }
    const ExerciseSession &session() const { return m_session; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    ClickLabel *m_tab;
    QLineEdit *m_file;
    QTextEdit *m_text;
    QMenu *m_menu;
    bool m_loading = false;
    ExerciseSession m_session;
};

} // namespace vorlac
