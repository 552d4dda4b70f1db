#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace vorlac
{

class FolderBrowser;
class TitleStrip;
struct Messenger;

// "Ouvrir un exercice": lists the exercise files ("*.E01") of a folder and previews the one
// selected (title, notions, difficulty, corrected or not). Opening hands the file to the
// exercise commands; the window closes only when the exercise was loaded.
class Fichexo : public QDialog
{
    Q_OBJECT
  public:
    // Loads the exercise at path (its folder is the exercise folder); false when it failed and
    // the failure was reported.
    using OpenFunction = std::function<bool(const QString &path)>;

    Fichexo(const Messenger &messenger, const QString &startFolder, OpenFunction open, QWidget *mainWindow);

    // Fills the right part of the window from the file named in fichierexo.
    void apercu();
    // ouvreur: opens the exercise named in fichierexo.
    void openSelected();

    // The file of the list selected when the window shows, instead of the first one.
    void selectOnShow(const QString &fileName) { m_selectOnShow = fileName; }

    FolderBrowser *browser() const { return m_browser; }
    QLineEdit *fileField() const { return m_fichierexo; }
    // The folder of the file selected last ("" until one was).
    QString exerciseFolder() const { return m_exerciseFolder; }

  protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void selectFile(const QString &name);
    void layOut();

    const Messenger &m_messenger;
    OpenFunction m_open;
    QString m_exerciseFolder;
    bool m_firstShown = false;
    QString m_selectOnShow;

    TitleStrip *m_tito;
    QFrame *m_frame1;
    QLabel *m_label5;
    FolderBrowser *m_browser;
    QLineEdit *m_fichierexo;
    QLabel *m_titratexo;
    QLabel *m_intratro;
    QLabel *m_label1;
    QPlainTextEdit *m_text1;
    QLabel *m_label4;
    QLabel *m_image4[3];
    QLabel *m_label2;
    QLabel *m_label3;
    QToolButton *m_ouvreur;
    QToolButton *m_image5;
    QFrame *m_frame2;
};

} // namespace vorlac
