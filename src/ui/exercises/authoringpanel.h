#pragma once

#include "exercises/exercisedraft.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vorlac
{

class HintLine;

// The form beside the exercise editor: title (said as it is typed), notions, difficulty, which
// text is being written, its situation with a thumbnail, and the commands. A window that stays
// open beside the main window, so that the scene and the table can be set up meanwhile; it only
// shows and gathers, the authoring commands act.
class AuthoringPanel : public QDialog
{
    Q_OBJECT
  public:
    AuthoringPanel(HintLine &hints, QWidget *parent);

    QLineEdit *title() const { return m_title; }
    QLabel *titleNote() const { return m_titleNote; }
    QLineEdit *notion(int i) const { return m_notions[i]; }
    QLabel *notionNote() const { return m_notionNote; }
    QSpinBox *difficulty() const { return m_difficulty; }
    QRadioButton *statementChoice() const { return m_statement; }
    QRadioButton *correctionChoice() const { return m_correction; }
    QLabel *thumbnail() const { return m_thumbnail; }
    QPushButton *takeSituation() const { return m_take; }
    QPushButton *noSituation() const { return m_none; }
    QPushButton *putOnScene() const { return m_toScene; }
    QPushButton *insertMeasures() const { return m_measures; }
    QPushButton *importText() const { return m_import; }
    QPushButton *save() const { return m_save; }
    QPushButton *finish() const { return m_finish; }

    // The form's fields from a set, without reporting them as typed.
    void showForm(const ExerciseSet &set);
    ExerciseForm form() const;
    // The notes under the title and the notions say what the fields hold.
    void checkFields();

    // The thumbnail of the shown text's situation; a null image: none.
    void showThumbnail(const QImage &image);
    // The note under a field: a problem in red, else an ordinary remark.
    static void setNote(QLabel *note, const QString &text, bool problem);

    static constexpr QSize kThumbnailSize{154, 98};

  signals:
    // The window's close box: the authoring commands decide whether it closes.
    void closeRequested();

  protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

  private:
    QLineEdit *m_title;
    QLabel *m_titleNote;
    QLineEdit *m_notions[4];
    QLabel *m_notionNote;
    QSpinBox *m_difficulty;
    QRadioButton *m_statement;
    QRadioButton *m_correction;
    QLabel *m_thumbnail;
    QPushButton *m_take;
    QPushButton *m_none;
    QPushButton *m_toScene;
    QPushButton *m_measures;
    QPushButton *m_import;
    QPushButton *m_save;
    QPushButton *m_finish;
};

} // namespace vorlac
