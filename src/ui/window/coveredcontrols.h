#pragma once

#include <QFocusEvent>
#include <utility>
#include <vector>

class QWidget;

namespace vorlac
{

// The window's direct children stack in creation order and an open panel or the table lies over
// what is beneath it: a control whose middle is under a later visible child cannot be seen.
bool isCovered(const QWidget *control, const QWidget *window);

// For one Tab or Backtab step the covered controls leave the Tab chain, so that the keyboard
// never lands where the pupil cannot see; their focus policies come back at the end of the step.
class CoveredControls
{
  public:
    explicit CoveredControls(QWidget &window);
    ~CoveredControls();
    CoveredControls(const CoveredControls &) = delete;
    CoveredControls &operator=(const CoveredControls &) = delete;

  private:
    std::vector<std::pair<QWidget *, Qt::FocusPolicy>> m_taken;   // restored first
    std::vector<std::pair<QWidget *, Qt::FocusPolicy>> m_proxies; // then their focus proxies
};

} // namespace vorlac
