#include "sweeps/sweepcommand.h"

#include "analysis/measuretexts.h"
#include "analysis/sweeps.h"
#include "common/hintline.h"
#include "common/messenger.h"
#include "scene/scenecontroller.h"
#include "table/sweepfill.h"
#include "table/valuetable.h"

#include <QAction>
#include <QWidget>

namespace vorlac
{

QString SweepCommand::hint()
{
    return QStringLiteral("Balayage : remplit le tableau d'une série de mesures calculées (D en fonction de i, "
                          "ou Dmin, n et λ pour chaque raie de la lampe ou tous les 10 nm)");
}

SweepCommand::SweepCommand(SceneController &controller, ValueTable &table, HintLine &hints, const Messenger &messenger,
                           QWidget &window, AskChoice askChoice)
    : QObject(&window), m_controller(controller), m_table(table), m_hints(hints), m_messenger(messenger),
      m_window(window), m_askChoice(std::move(askChoice)), m_action(new QAction(QStringLiteral("Balayage..."), this))
{
    m_action->setObjectName(QStringLiteral("balayage"));
    m_action->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    m_action->setShortcutContext(Qt::WindowShortcut);
    m_action->setStatusTip(hint());
    m_action->setToolTip(hint());
    connect(m_action, &QAction::triggered, this, &SweepCommand::run);
}

bool SweepCommand::run()
{
    const SceneState &state = m_controller.state();
    Sweep sweep;
    if (state.source == SourceType::LineLamp) {
        sweep = lampSweep(state);
    } else {
        const std::optional<SweepChoice> choice = m_askChoice(m_lastChoice);
        if (!choice)
            return false;
        m_lastChoice = *choice;
        sweep = choice->kind == SweepChoice::Kind::MinimumEvery10nm
                    ? spectrumSweep(state)
                    : deviationSweep(state, minimumWavelength(state), choice->step);
    }
    if (sweep.lines.empty()) {
        m_messenger.critical(&m_window, QStringLiteral("Balayage impossible"), sweep.problem);
        return false;
    }
    fillTableWithSweep(m_table, sweep);
    m_hints.announce(QStringLiteral("Balayage : %1 lignes écrites dans le tableau").arg(sweep.lines.size()));
    emit filled();
    if (sweep.cut > 0)
        m_messenger.ask(&m_window, QMessageBox::Information, QStringLiteral("Balayage incomplet"),
                        sweepCutMessage(sweep), QMessageBox::Ok);
    return true;
}

} // namespace vorlac
