#include "projection/magnifiercommands.h"

#include "projection/magnifierwindow.h"
#include "scene/figureoptions.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace vorlac
{

MagnifierCommands::MagnifierCommands(SceneController &controller, FigureOptions &options, HintLine &hints,
                                     QWidget *window)
    : QObject(window), m_controller(controller), m_options(options), m_hints(hints), m_window(window),
      m_action(new QAction(QStringLiteral("Grossissement du faisceau émergent"), window))
{
    m_action->setObjectName(QStringLiteral("grossissement"));
    m_action->setShortcut(QKeySequence(Qt::Key_F8));
    m_action->setShortcutContext(Qt::WindowShortcut);
    m_action->setCheckable(true);
    m_action->setToolTip(QStringLiteral("Voir le faisceau émergent grossi de 10 à 200 fois (F8)"));
    m_action->setStatusTip(QStringLiteral("Le faisceau émergent grossi, pour séparer des raies proches comme le "
                                          "doublet jaune du sodium (F8 ou Échap pour fermer)"));
    window->addAction(m_action);
    options.menu()->addAction(m_action);
    connect(m_action, &QAction::triggered, this, &MagnifierCommands::toggle);
}

MagnifierWindow *MagnifierCommands::window() const
{
    return m_magnifier;
}

void MagnifierCommands::toggle()
{
    if (m_magnifier) {
        m_magnifier->close();
        return;
    }
    m_magnifier = new MagnifierWindow(m_controller, m_options, m_hints, m_window);
    // F8 closes it from there too, and the main window's keys (F9, Shift+F9) work there.
    for (QAction *a : m_window->actions())
        m_magnifier->addAction(a);
    connect(m_magnifier, &QObject::destroyed, m_action, [a = m_action] { a->setChecked(false); });
    m_action->setChecked(true);
    m_magnifier->showBesideMainWindow();
}

} // namespace vorlac
