#pragma once

#include <QTextEdit>

namespace vorlac
{

// The rich-text box `supertext`. What is pasted comes in as plain text in the format at the
// caret: a pasted table, picture or foreign style would not survive saving the text as RTF.
class ExerciseTextBox : public QTextEdit
{
    Q_OBJECT
  public:
    using QTextEdit::QTextEdit;

  protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};

} // namespace vorlac
