#include "simulator/sweepcommand.h"

#include "analysis/measuretexts.h"
#include "analysis/sweeps.h"
#include "common/messenger.h"
#include "simulator/hintline.h"
#include "simulator/scenecontroller.h"
#include "table/sweepfill.h"
#include "table/valuetable.h"

#include <QAction>
#include <QInputDialog>
#include <QWidget>

namespace vorlac
{

QString SweepCommand::hint()
{
    return QStringLiteral("Balayage : remplit le tableau d'une série de mesures calculées (D en fonction de i, "
                          "ou Dmin, n et λ pour chaque raie de la lampe)");
}

SweepCommand::SweepCommand(SceneController &controller, ValueTable &table, HintLine &hints, const Messenger &messenger,
                           QWidget &window, AskStep askStep)
    : QObject(&window), m_controller(controller), m_table(table), m_hints(hints), m_messenger(messenger),
      m_window(window), m_askStep(std::move(askStep)), m_action(new QAction(QStringLiteral("Balayage..."), this))
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
        const std::optional<double> step = m_askStep();
        if (!step)
            return false;
        sweep = deviationSweep(state, minimumWavelength(state), *step);
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

std::optional<double> askSweepStep(QWidget *parent)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PasBalayage"));
    dialog.setWindowTitle(QStringLiteral("Balayage"));
    dialog.setLabelText(QStringLiteral("Pas de l'angle d'incidence (en degrés) :"));
    dialog.setToolTip(QStringLiteral("D est calculé de l'incidence limite jusqu'à 90° avec ce pas"));
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setDoubleRange(0.1, 45.0);
    dialog.setDoubleDecimals(1);
    dialog.setDoubleValue(1.0);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.doubleValue();
}

} // namespace vorlac
