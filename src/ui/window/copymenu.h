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
    QAction *tableTextAction() const { return m_tableText; }       // cop003
    QAction *tableImageAction() const { return m_tableImage; }     // cop002
    QAction *sceneAction() const { return m_scene; }               // cop001
    QAction *figureExportAction() const { return m_figureExport; } // exp001
    QAction *tableExportAction() const { return m_tableExport; }   // exp002

  private:
    QAction *m_tableText, *m_tableImage, *m_scene;
    QAction *m_figureExport, *m_tableExport;
};

} // namespace vorlac
