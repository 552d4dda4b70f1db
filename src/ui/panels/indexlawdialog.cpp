#include "panels/indexlawdialog.h"

#include "common/hintline.h"
#include "common/messenger.h"
#include "common/panelstyle.h"
#include "common/pictures.h"
#include "common/regional.h"
#include "model/glasscatalogue.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

namespace vorlac
{

namespace
{

// Only digits, the decimal separator (a typed "." becomes it), Backspace and Enter get through.
class DecimalKeyFilter : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (text.size() != 1)
            return false; // arrows, Delete, Home...: no character typed
        const QChar typed = text.at(0);
        // Tab, Backspace, Enter, Escape and the Ctrl shortcuts (Ctrl+A, Ctrl+C...) are no digits.
        if (typed.unicode() < 0x20 || typed.unicode() == 0x7f ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        const QChar mapped = regionalKeyFilter(typed, regionalLocale());
        if (mapped.isNull())
            return true; // discarded
        if (mapped != typed) {
            if (auto *edit = qobject_cast<QLineEdit *>(watched))
                edit->insert(QString(mapped));
            return true;
        }
        return false;
    }
};

const QString kGlassesHint = QStringLiteral("Choisir un verre réel : le vorlac suit sa formule de dispersion ; A et B "
                                            "n'en sont que l'ajustement de Cauchy, de 400 à 800 nm");
const QString kUnknownHint =
    QStringLiteral("Tirer au hasard un verre de la liste dont le nom et l'indice restent cachés : le retrouver "
                   "par la mesure");
const QString kRevealHint = QStringLiteral("Afficher le nom et les coefficients du verre inconnu");
constexpr int kGlassesHeight = 90; // the additions below the buttons

} // namespace

IndexLawDialog::IndexLawDialog(IndexLaw current, const Messenger &messenger, QWidget *parent, HintLine *hints,
                               std::optional<GlassChoice> glass)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_messenger(messenger),
      m_chosen(current), m_glass(glass.value_or(GlassChoice{}))
{
    setObjectName(QStringLiteral("LOUPE"));
    setWindowTitle(QStringLiteral("Definir un matériau non listé"));
    setFixedSize(318, 166 + (glass ? kGlassesHeight : 0));
    setModal(true);

    addLabel(this, "Label1",
             QStringLiteral("L'indice d'un milieu est lié à la longueur d'onde de la radiation par la relation de "
                            "Cauchy:"),
             QRect(8, 8, 297, 33))
        ->setWordWrap(true);
    auto *relation = addLabel(this, "Image1", QString(), QRect(16, 40, 276, 24));
    relation->setPixmap(svgPicture(QStringLiteral("cauchy"), QSize(276, 24), devicePixelRatioF()));
    QLabel *captionA = addLabel(this, "Label2", QStringLiteral("Valeur de A ( de 1 à 2 ):"), QRect(16, 74, 177, 17));
    QLabel *captionB =
        addLabel(this, "Label3", QStringLiteral("Valeur de B ( de 0 à 40000 nm² ):"), QRect(16, 98, 177, 17));
    m_a = new QLineEdit(this);
    m_a->setObjectName(QStringLiteral("Text1"));
    m_a->setGeometry(200, 72, 97, 19);
    m_b = new QLineEdit(this);
    m_b->setObjectName(QStringLiteral("Text2"));
    m_b->setGeometry(200, 96, 97, 19);
    captionA->setBuddy(m_a); // the boxes' names for screen readers
    captionB->setBuddy(m_b);
    auto *filter = new DecimalKeyFilter(this);
    m_a->installEventFilter(filter);
    m_b->installEventFilter(filter);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(0, 128, 321, 41);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), frame);
    cancel->setObjectName(QStringLiteral("Command1"));
    cancel->setGeometry(48, 8, 81, 25);
    cancel->setAutoDefault(false);
    auto *ok = new QPushButton(QStringLiteral("OK"), frame);
    ok->setObjectName(QStringLiteral("Command2"));
    ok->setGeometry(176, 8, 81, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &IndexLawDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (parent) {
        const QWidget *main = parent->window();
        move(main->x() + 10, main->y() + main->height() / 2);
    }
    // An unknown glass's pair never reaches the boxes, not even for a moment: a screen reader
    // would speak it.
    if (!(glass && glass->row >= 0 && glass->hidden)) {
        const QLocale locale = regionalLocale();
        m_a->setText(shortestSingleText(current.cauchyA, locale));
        m_b->setText(shortestSingleText(current.cauchyB, locale));
    }
    if (glass) {
        buildGlasses(hints);
        showGlass();
    }
}

void IndexLawDialog::buildGlasses(HintLine *hints)
{
    auto *rule = new QFrame(this); // sets the additions apart from the buttons above
    rule->setObjectName(QStringLiteral("LigneVerres"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(8, 170, 302, 2);
    auto *caption = addLabel(this, "LabelVerres", QStringLiteral("Verres réels :"), QRect(16, 180, 80, 17));
    m_glasses = new QComboBox(this);
    m_glasses->setObjectName(QStringLiteral("ComboVerres"));
    m_glasses->setGeometry(100, 178, 197, 21);
    m_glasses->setToolTip(kGlassesHint);
    caption->setBuddy(m_glasses); // the list's name for screen readers
    for (int row = 0; row < glassCount(); ++row)
        m_glasses->addItem(glassName(row));
    m_fit = addLabel(this, "LabelEcart", QString(), QRect(16, 204, 281, 17));
    auto *unknown = new QPushButton(QStringLiteral("Verre inconnu"), this);
    unknown->setObjectName(QStringLiteral("BoutonVerreInconnu"));
    unknown->setGeometry(16, 226, 135, 25);
    unknown->setAutoDefault(false);
    unknown->setToolTip(kUnknownHint);
    m_reveal = new QPushButton(QStringLiteral("Révéler le verre"), this);
    m_reveal->setObjectName(QStringLiteral("BoutonRevelerVerre"));
    m_reveal->setGeometry(162, 226, 135, 25);
    m_reveal->setAutoDefault(false);
    m_reveal->setToolTip(kRevealHint);
    if (hints) {
        hints->addHint(m_glasses, kGlassesHint);
        hints->addHint(unknown, kUnknownHint);
        hints->addHint(m_reveal, kRevealHint);
    }

    connect(m_glasses, &QComboBox::activated, this, [this](int row) { chooseGlass({row, false}); });
    connect(unknown, &QPushButton::clicked, this, [this] {
        chooseGlass({int(QRandomGenerator::global()->bounded(glassCount())), true});
    });
    connect(m_reveal, &QPushButton::clicked, this, [this] { chooseGlass({m_glass.row, false}); });
    // A typed coefficient is a material of the pupil's own again.
    for (QLineEdit *edit : {m_a, m_b})
        connect(edit, &QLineEdit::textEdited, this, [this] {
            if (m_glass.row >= 0) {
                m_glass = {};
                showGlass();
            }
        });
}

void IndexLawDialog::chooseGlass(GlassChoice glass)
{
    m_glass = glass;
    if (!glass.hidden) {
        const IndexLaw law = glassLaw(glass.row);
        const QLocale locale = regionalLocale();
        m_a->setText(shortestSingleText(law.cauchyA, locale));
        m_b->setText(shortestSingleText(law.cauchyB, locale));
    } else {
        m_a->setText(QString()); // setText, not clear: no undo brings the numbers back
        m_b->setText(QString());
    }
    showGlass();
}

void IndexLawDialog::showGlass()
{
    const bool hidden = m_glass.row >= 0 && m_glass.hidden;
    m_glasses->setPlaceholderText(hidden ? QStringLiteral("verre inconnu") : QStringLiteral("(saisie manuelle)"));
    m_glasses->setCurrentIndex(hidden ? -1 : m_glass.row);
    m_reveal->setEnabled(hidden);
    if (hidden) {
        m_a->setText(QString()); // setText, not clear: no undo brings the numbers back
        m_b->setText(QString());
        m_fit->setText(QStringLiteral("Verre inconnu : son nom et ses coefficients sont cachés."));
    } else if (m_glass.row >= 0) {
        const QLocale locale = regionalLocale();
        m_fit->setText(QStringLiteral("Ajustement de Cauchy, écart maximal : ") +
                       locale.toString(glassFit(m_glass.row).maxDifference, 'f', 4));
    } else {
        m_fit->clear();
    }
}

void IndexLawDialog::onOk()
{
    if (m_glass.row >= 0) { // the catalogue's pair, not a typed one
        m_chosen = glassLaw(m_glass.row);
        accept();
        return;
    }
    const QLocale locale = regionalLocale();
    // A text that cannot be read counts as 0.
    const float a = readRegionalSingle(m_a->text(), locale).value_or(0.0f);
    const float b = readRegionalSingle(m_b->text(), locale).value_or(0.0f);
    const QString title = QStringLiteral("Propriété incorrecte");
    if (a < kCustomAMin || a > kCustomAMax) {
        m_messenger.critical(this, title, QStringLiteral("Valeur de A en dehors des limites."));
        return;
    }
    if (b < kCustomBMin || b > kCustomBMax) {
        m_messenger.critical(this, title, QStringLiteral("Valeur de B en dehors des limites."));
        return;
    }
    m_chosen = {a, b};
    accept();
}

} // namespace vorlac
