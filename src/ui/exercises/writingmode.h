#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class QByteArray;
class QTextDocument;

namespace vorlac
{

class ExerciseArea;
class FormatBar;
class HintLine;

// The exercise text box while a teacher writes an exercise: the pupil's document is set aside, a
// formatting bar sits above the box, and the box shows the document being written. Leaving puts
// the pupil's side back as it was.
class WritingMode : public QObject
{
    Q_OBJECT
  public:
    WritingMode(ExerciseArea &area, HintLine &hints, QObject *parent);

    bool active() const { return m_active; }
    // Sets the pupil's side aside; nothing when already writing.
    void enter();
    // The box shows that document, editable, with the bar on it. The switch is no edit.
    void show(QTextDocument &document);
    // Puts the pupil's side back. With a saved text (the open exercise was saved over) and no edit
    // of the pupil's own, that text replaces what the pupil's side showed.
    void leave(const QByteArray *savedStatement, const QByteArray *savedCorrection);

    FormatBar *formatBar() const { return m_bar; }
    // The pupil's side while writing; null otherwise.
    QTextDocument *pupilDocument() const { return m_active ? m_pupilDocument.data() : nullptr; }
    bool pupilReadOnly() const { return m_pupilReadOnly; }
    bool pupilEdited() const { return m_pupilModified; }

  private:
    ExerciseArea &m_area;
    HintLine &m_hints;
    bool m_active = false;
    QPointer<FormatBar> m_bar;
    QPointer<QTextDocument> m_pupilDocument;
    QObject *m_pupilDocumentParent = nullptr;
    bool m_pupilReadOnly = false;
    bool m_pupilModified = false;
    QRect m_textGeometry;
};

} // namespace vorlac
