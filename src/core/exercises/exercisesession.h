#pragma once

#include <QObject>
#include <QString>

namespace vorlac
{

// The exercise open on the pupil's side, as part of the work: its file name, its folder and its
// flags. The exercise area shows the text and the name; this owns what is known about it.
class ExerciseSession : public QObject
{
    Q_OBJECT
  public:
    explicit ExerciseSession(QObject *parent = nullptr) : QObject(parent) {}

    // What the file-name line shows: the exercise's path, "Texte: " and a text's path, or ""
    // when only the introduction is shown.
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &name);
    bool exerciseOpen() const { return !m_fileName.isEmpty(); }
    // Folder of the last exercise (or getting-started) file, ending with a separator.
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);

    // The exercise text was edited since it was loaded or saved.
    bool exerciseTextModified() const { return m_exerciseTextModified; }
    void setExerciseTextModified(bool modified);
    // The open exercise has a correction.
    bool correctionAvailable() const { return m_correctionAvailable; }
    void setCorrectionAvailable(bool available);

  signals:
    void changed();
    void fileNameChanged(const QString &name);

  private:
    QString m_fileName;
    QString m_folder;
    bool m_exerciseTextModified = false;
    bool m_correctionAvailable = false;
};

} // namespace vorlac
