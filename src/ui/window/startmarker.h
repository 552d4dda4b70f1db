#pragma once

#include <QString>

namespace vorlac
{

// The start-up marker (TEMPO.SPC): "OUI" while the program runs, "NON" after a normal close.
class StartMarker
{
  public:
    StartMarker(QString programDirectory, QString stateDirectory);
    // The program directory first, unless it is an installed program's data folder; the user's
    // state folder when it is, or when the program directory refuses the write. Closing writes
    // where start-up did. Failures (a full disk, no writable place) are ignored: start-up and
    // closing go on, and the atomic rewrite leaves the file as it was.
    void write(const QString &text);

  private:
    QString m_programDir;
    QString m_stateDir;
    QString m_written; // where the marker went at start-up; "" when nowhere
};

} // namespace vorlac
