#pragma once

#include <QDialog>

class QLineEdit;

namespace vorlac {

struct Messenger;
struct SceneState;

// "Autre": the two index-law coefficients of a material of the pupil's own, for the prism
// (customMaterialTarget = 2) or the outside medium.
class LoupeDialog : public QDialog {
    Q_OBJECT
public:
    // cancelled is called on "Annuler", before the dialog closes, to put the list back.
    LoupeDialog(SceneState &state, const Messenger &messenger, std::function<void()> cancelled,
                QWidget *parent);

    void reject() override; // Escape works as "Annuler"

private:
    void onOk();
    void onCancel();

    SceneState &m_state;
    const Messenger &m_messenger;
    std::function<void()> m_cancelled;
    QLineEdit *m_a;
    QLineEdit *m_b;
};

} // namespace vorlac
