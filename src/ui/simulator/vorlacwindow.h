#pragma once

#include "common/messenger.h"
#include "model/colour.h"
#include "model/scenestate.h"
#include "render/scenerenderer.h"

#include <QHash>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QScrollBar;
class QTextEdit;
class QTimer;
class QToolButton;

namespace vorlac {

class ClickLabel;
class SceneView;
class UpDown;

// What the main window takes from its surroundings; tests replace these.
struct VorlacEnvironment {
    QString programDirectory;           // with a trailing separator; empty: the executable's folder
    std::function<QSize()> screenSize;  // available screen size in pixels; empty: the primary screen
    std::function<void()> endProgram;   // after an accepted close; empty: quit the application
    Messenger messenger;
};

// The main window: scene, panels, toolbar, hint line and exercise area.
class Vorlac : public QWidget {
    Q_OBJECT
public:
    explicit Vorlac(VorlacEnvironment environment = {}, QWidget *parent = nullptr);
    ~Vorlac() override;

    SceneState &scene() { return m_state; }
    const ScenePicture &picture() const { return m_picture; }
    const SpectrumColours &spectrumColours() const { return m_spectrumColour; }
    QString programDirectory() const { return m_programDir; }
    QString info() const; // the hint line, line breaks as CR LF
    void setInfo(const QString &text);
    QString copyConfirmation() const { return m_copyConfirmation; }

    // Redraw entry points; every change of the scene ends with one or both.
    void RedrawScene();
    void RedrawWhiteLight();

    // Counters of finished pictures, read by tests and the status of a redraw.
    int sceneRedrawCount() const { return m_sceneRedraws; }
    int whiteRedrawCount() const { return m_whiteRedraws; }

    // Lamp mouse handlers, in picture pixels relative to the lamp image.
    void lampMouseMove(Qt::MouseButtons buttons, QPointF posInLamp);
    void lampMouseUp();

    // The small-screen rule (start-up and every resize).
    void applySmallScreenRule();

    int exerciseTextModified = 0;
    int correctionAvailable = 0;
    QString TableNumberFormat;
    double protractorLineAngle = 0;

public slots:
    void timer1Tick();

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void showEvent(QShowEvent *) override;
    void changeEvent(QEvent *) override;
    void closeEvent(QCloseEvent *) override;
    void mouseMoveEvent(QMouseEvent *) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolbar();
    void buildScene();
    void buildPanels();
    void buildPrismPanel();
    void buildMediumPanel();
    void buildSourcePanel();
    void buildDisplayPanel();
    void buildProtractorPanel();
    void buildTableFrame();
    void buildExerciseArea();
    void buildMenus();
    void buildIcons();
    void startUp();

    QFrame *makePanel(const char *name, QRect geometry, const char *titleName, const QString &title,
                      int titleHeight = 17);
    void setHint(QWidget *w, const QString &text);
    void writeMarker(const QString &text);
    QSize screenSize() const;

    // Handlers.
    void onApexChanged(int value);
    void onWavelengthChanged(int value);
    void onWavelengthReleased();
    void updateWavelengthReadouts(int lambda);
    void onSourceMonochromaticOrFive();
    void onSourceWhite();
    void onBackground();
    void onMarksToggled();
    void selectMaterial(QComboBox *list, int row);
    void onMaterialSelected(QComboBox *list);
    void showIndex(QComboBox *list);
    void onPanelIcon(int i);
    void onExercisesTab();
    void onClose();
    void paintBackground(QPainter &p) const;

    VorlacEnvironment m_env;
    QString m_programDir;
    SceneState m_state;
    ScenePicture m_picture;
    SpectrumColours m_spectrumColour{};
    QString m_copyConfirmation;
    QHash<QObject *, QString> m_hints;
    int m_sceneRedraws = 0;
    int m_whiteRedraws = 0;
    bool m_closeAccepted = false;
    bool m_applyingRule = false;

    // The lamp's last mouse positions, in picture pixels.
    int lampMouseX = 0, lampMouseY = 0, lastLampMouseX = 0, lastLampMouseY = 0;

    QToolButton *m_open, *m_save, *m_copy, *m_print, *m_calc, *m_notations, *m_course, *m_help, *m_close;
    QToolButton *m_tableButton; // Check1
    QWidget *m_frame3;          // Picture3
    SceneView *m_dessin;
    QScrollBar *m_vscroll;
    QLabel *m_info;
    QLabel *m_image2;
    ClickLabel *m_btexo;
    QLineEdit *m_fich;
    QTextEdit *m_supertext;
    QWidget *m_picture1;
    QFrame *m_prismPanel, *m_mediumPanel, *m_sourcePanel, *m_protractorPanel, *m_tableFrame;
    QFrame *m_displayPanel;
    ClickLabel *m_icons[6] = {};
    UpDown *m_angle;
    QLabel *m_apexLabel;
    QComboBox *m_combo1, *m_combo2;
    QLabel *m_label20, *m_label4, *m_label14, *m_label16, *m_label7;
    QRadioButton *m_option1, *m_option5, *m_option2, *m_option3, *m_option4;
    QCheckBox *m_normales, *m_propa;
    QScrollBar *m_hscroll;
    QLabel *m_spectrum;
    QTimer *m_timer1;
    QMenu *m_menutableau, *m_menucol, *m_menucopie, *m_optionexo;
};

} // namespace vorlac
