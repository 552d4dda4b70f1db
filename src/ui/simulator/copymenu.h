#pragma once

#include <QMenu>

namespace vorlac
{

// The pop-up menu `menucopie` of "Copier": what goes to the clipboard.
class CopyMenu : public QMenu
{
    Q_OBJECT
  public:
    explicit CopyMenu(QWidget *parent);
    QAction *tableTextAction() const { return m_tableText; }   // cop003
    QAction *tableImageAction() const { return m_tableImage; } // cop002
    QAction *sceneAction() const { return m_scene; }           // cop001

  private:
    QAction *m_tableText, *m_tableImage, *m_scene;
};

} // namespace vorlac
