#include "simulator/loupedialog.h"

#include "common/messenger.h"
#include "common/panelstyle.h"
#include "common/pictures.h"
#include "common/regional.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
        if (typed == QChar(8) || typed == QChar(13) || typed == QChar(10) || typed == QChar(27))
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

} // namespace

LoupeDialog::LoupeDialog(IndexLaw current, const Messenger &messenger, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_messenger(messenger),
      m_chosen(current)
{
    setObjectName(QStringLiteral("LOUPE"));
    setWindowTitle(QStringLiteral("Definir un matériau non listé"));
    setFixedSize(318, 166);
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
    connect(ok, &QPushButton::clicked, this, &LoupeDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (parent) {
        const QWidget *main = parent->window();
        move(main->x() + 10, main->y() + main->height() / 2);
    }
    const QLocale locale = regionalLocale();
    m_a->setText(shortestSingleText(current.cauchyA, locale));
    m_b->setText(shortestSingleText(current.cauchyB, locale));
}

void LoupeDialog::onOk()
{
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
