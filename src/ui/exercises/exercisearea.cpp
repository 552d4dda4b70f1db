#include "exercises/exercisearea.h"

#include "common/clicklabel.h"
#include "common/hintline.h"
#include "common/menus.h"
#include "common/panelstyle.h"
#include "exercises/exercisetextbox.h"
#include "help/introduction.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTextEdit>

namespace vorlac
{

ExerciseArea::ExerciseArea(HintLine &hints, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("exercisearea"));
    setGeometry(424, 296, 361, 249);

    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("fich"));
    m_file->setGeometry(80, 0, 281, 19);
    m_file->setReadOnly(true);
    m_file->setAccessibleName(QStringLiteral("Fichier de l'exercice"));
    connect(m_file, &QLineEdit::textChanged, this, [this](const QString &t) {
        m_file->setCursorPosition(static_cast<int>(t.size()));
        m_file->setToolTip(t);
    });
    // The line shows the session's name; a name put on the line (a test, accessibility) is the
    // session's too. Each setter ignores what it already holds, so the two never loop.
    connect(&m_session, &ExerciseSession::fileNameChanged, m_file, &QLineEdit::setText);
    connect(m_file, &QLineEdit::textChanged, &m_session, &ExerciseSession::setFileName);

    m_tab = new ClickLabel(QStringLiteral("Exercices"), this);
    m_tab->setObjectName(QStringLiteral("btexo"));
    m_tab->setGeometry(0, 0, 97, 19);
    m_tab->setAlignment(Qt::AlignCenter);
    m_tab->setAccessibleRole(QAccessible::PageTab);
    styleTitleBar(m_tab);
    m_tab->setFrameStyle(QFrame::Panel | QFrame::Raised);
    hints.addHint(m_tab,
                  QStringLiteral(
                      "Ouvrir un énoncé d'exercice, enregistrer le texte, obtenir la correction, imprimer ou fermer."));
    connect(m_tab, &ClickLabel::clicked, this, &ExerciseArea::openMenu);

    m_text = new ExerciseTextBox(this);
    m_text->setObjectName(QStringLiteral("supertext"));
    m_text->setGeometry(0, 19, 361, 230);
    m_text->setContextMenuPolicy(Qt::NoContextMenu);
    m_text->setAccessibleName(QStringLiteral("Texte de l'exercice"));
    m_text->viewport()->installEventFilter(this);
    connect(m_text, &QTextEdit::textChanged, this, [this] {
        // Only the pupil's edits of an open exercise's text count.
        if (!m_loading && m_session.exerciseOpen())
            session().setExerciseTextModified(true);
    });

    m_menu = makeNamedMenu(this, "optionexo",
                           {
                               {"PRISENMAIN", QStringLiteral("Prise en main")},
                               {"separation1", QStringLiteral("-")},
                               {"openexo", QStringLiteral("Ouvrir un exercice (énoncé + configuration)")},
                               {"opencor", QStringLiteral("Voir la correction")},
                               {"separation2", QStringLiteral("-")},
                               {"savetexte", QStringLiteral("Enregistrer le contenu de la fenêtre exercice")},
                               {"opentexte", QStringLiteral("Retrouver un texte")},
                               {"imprimetexte", QStringLiteral("Imprimer le contenu de la fenêtre exercice")},
                               {"separation3", QStringLiteral("-")},
                               {"Closexo", QStringLiteral("Fermer l'exercice")},
                           });
}

QAction *ExerciseArea::menuAction(const char *name) const
{
    return namedAction(*m_menu, name);
}

void ExerciseArea::showIntroduction()
{
    loadText([](QTextDocument &document) {
        writeIntroduction(document);
        return true;
    });
    m_text->setReadOnly(true);
}

bool ExerciseArea::loadText(const std::function<bool(QTextDocument &)> &load)
{
    m_loading = true;
    const bool loaded = load(*m_text->document());
    m_loading = false;
    if (loaded) {
        m_text->document()->clearUndoRedoStacks();
        m_text->document()->setModified(false);
        m_text->moveCursor(QTextCursor::Start);
    }
    return loaded;
}

void ExerciseArea::openMenu()
{
    menuAction("opencor")->setEnabled(session().correctionAvailable());
    menuAction("Closexo")->setEnabled(m_session.exerciseOpen());
    m_menu->popup(m_tab->mapToGlobal(QPoint(0, m_tab->height())));
}

bool ExerciseArea::eventFilter(QObject *watched, QEvent *event)
{
    // A right click in the text opens the menu as the tab does.
    if (watched == m_text->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
        openMenu();
    return QWidget::eventFilter(watched, event);
}

} // namespace vorlac
