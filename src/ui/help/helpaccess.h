#pragma once

#include "common/messenger.h"
#include "help/helpviewer.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <optional>

class QWidget;

namespace vorlac
{

inline constexpr char kHelpFileName[] = "KT4.hlp";
inline constexpr char kCourseFileName[] = "Dadevedozoz.chm";

// The program's help access: "&Aide", "&Voir le cours", "&Notations" and the F1 key. One viewer
// per file, raised when it is open again; a viewer opened while a modal dialog is up belongs to
// that dialog (so it is not blocked) and comes back to the main window when the dialog closes.
class HelpAccess : public QObject
{
    Q_OBJECT
  public:
    HelpAccess(QWidget *owner, QString programDirectory, Messenger messenger);
    ~HelpAccess() override;

    HelpViewer *showHelp();   // the help at its contents tab
    HelpViewer *showCourse(); // the course; from then on F1 opens it
    void showNotations();

    HelpViewer *viewer(const QString &fileName) const { return m_viewers.value(fileName); }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    static QString openMessage(const QString &fileName, ChmFile::Error error, const QString &directory);
    // tab: the tab to show; none keeps the one the pupil left (a new viewer shows the contents).
    HelpViewer *open(const QString &fileName, std::optional<HelpViewer::Tab> tab);
    QWidget *dialogParent() const;

    QWidget *m_owner;
    QString m_directory;
    Messenger m_messenger;
    bool m_courseSet = false;
    QHash<QString, QPointer<HelpViewer>> m_viewers;
};

} // namespace vorlac
