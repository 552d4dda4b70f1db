#include "exercises/writingmode.h"

#include "exercises/exercisearea.h"
#include "exercises/formatbar.h"
#include "rtf/rtf.h"

#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextEdit>

namespace vorlac
{

namespace
{

constexpr int kBarHeight = 24;

// What a new text is written in, whatever the pupil's text showed.
QTextCharFormat plainFormat()
{
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(12);
    plain.setForeground(QColor(Qt::black));
    return plain;
}

} // namespace

WritingMode::WritingMode(ExerciseArea &area, HintLine &hints, QObject *parent)
    : QObject(parent), m_area(area), m_hints(hints)
{
}

void WritingMode::enter()
{
    if (m_active)
        return;
    QTextEdit *text = m_area.text();
    // The pupil's document is kept aside (QTextEdit deletes a document it owns when another
    // replaces it) and comes back when the mode ends.
    m_pupilDocument = text->document();
    m_pupilDocumentParent = m_pupilDocument->parent();
    m_pupilDocument->setParent(this);
    m_pupilReadOnly = text->isReadOnly();
    m_pupilModified = m_area.session().exerciseTextModified();
    m_textGeometry = text->geometry();
    m_bar = new FormatBar(m_hints, &m_area);
    m_bar->setGeometry(m_textGeometry.x(), m_textGeometry.y(), m_textGeometry.width(), kBarHeight);
    text->setGeometry(m_textGeometry.adjusted(0, kBarHeight, 0, 0));
    m_bar->show();
    m_active = true;
}

void WritingMode::show(QTextDocument &document)
{
    QTextEdit *text = m_area.text();
    // The area counts an edit on any change of the text; a switch is not one.
    const bool modified = m_area.session().exerciseTextModified();
    text->setDocument(&document);
    m_area.session().setExerciseTextModified(modified);
    text->setReadOnly(false);
    if (text->document()->isEmpty())
        text->setCurrentCharFormat(plainFormat());
    m_bar->attach(text);
}

void WritingMode::leave(const QByteArray *savedStatement, const QByteArray *savedCorrection)
{
    if (!m_active)
        return;
    m_active = false;
    QTextEdit *text = m_area.text();
    m_bar->attach(nullptr);
    delete m_bar;
    if (m_pupilDocument) {
        // A read-only text was the correction.
        const QByteArray *saved = m_pupilReadOnly ? savedCorrection : savedStatement;
        if (saved && !m_pupilModified && !saved->isEmpty() && readRtf(*saved, *m_pupilDocument))
            m_pupilDocument->setModified(false);
        text->setDocument(m_pupilDocument);
        m_pupilDocument->setParent(m_pupilDocumentParent);
    }
    text->setGeometry(m_textGeometry);
    text->setReadOnly(m_pupilReadOnly);
    m_area.session().setExerciseTextModified(m_pupilModified);
}

} // namespace vorlac
