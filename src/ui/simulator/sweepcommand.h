#pragma once

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
// lambda, D_min and n for every line; otherwise D against i for the wavelength the minimum of
// deviation uses, from the limit incidence to 90 degrees by a step the pupil chooses.
class SweepCommand : public QObject
{
    Q_OBJECT
  public:
    // askStep asks the step in degrees (nullopt: cancelled); the window gives an input dialog.
    using AskStep = std::function<std::optional<double>()>;
    SweepCommand(SceneController &controller, ValueTable &table, HintLine &hints, const Messenger &messenger,
                 QWidget &window, AskStep askStep);

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
    AskStep m_askStep;
    QAction *m_action;
};

// The window's way of asking the step: a French input dialog `PasBalayage`, 1 degree offered.
std::optional<double> askSweepStep(QWidget *parent);

} // namespace vorlac
