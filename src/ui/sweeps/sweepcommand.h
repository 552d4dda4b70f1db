#pragma once

#include "sweeps/sweepdialog.h"

#include <QObject>
#include <functional>
#include <optional>

class QAction;
class QWidget;

namespace vorlac
{

class HintLine;
class SceneController;
class ValueTable;
struct Messenger;

// "Balayage" (menutableau, Shift+F9): fills the table in one change, one undo step. With a lamp,
// lambda, D_min and n for every line; otherwise, as the pupil chooses, D against i for the
// wavelength the minimum of deviation uses (from the limit incidence to 90 degrees by a step) or
// lambda, D_min and n every 10 nm from 400 to 800 nm.
class SweepCommand : public QObject
{
    Q_OBJECT
  public:
    // askChoice asks what to sweep, offering the last choice (nullopt: cancelled); the window
    // gives the dialog PasBalayage.
    using AskChoice = std::function<std::optional<SweepChoice>(const SweepChoice &last)>;
    SweepCommand(SceneController &controller, ValueTable &table, HintLine &hints, const Messenger &messenger,
                 QWidget &window, AskChoice askChoice);

    QAction *action() const { return m_action; }
    static QString hint();
    // Runs the sweep; false when nothing was written.
    bool run();

  signals:
    void filled();

  private:
    SceneController &m_controller;
    ValueTable &m_table;
    HintLine &m_hints;
    const Messenger &m_messenger;
    QWidget &m_window;
    AskChoice m_askChoice;
    SweepChoice m_lastChoice; // offered again at the next sweep of this run
    QAction *m_action;
};

} // namespace vorlac
