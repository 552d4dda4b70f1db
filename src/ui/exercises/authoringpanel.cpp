#include "exercises/authoringpanel.h"

#include "common/hintline.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vorlac
{

namespace
{

template <typename W> W *named(W *widget, const char *name, const QString &tip, const QString &hint, HintLine &hints)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setToolTip(tip);
    hints.addHint(widget, hint);
    return widget;
}

} // namespace

AuthoringPanel::AuthoringPanel(HintLine &hints, QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("auteurexo"));
    setWindowTitle(QStringLiteral("Nouvel exercice"));
    setModal(false);
    auto *column = new QVBoxLayout(this);

    auto *form = new QFormLayout;
    m_title = named(new QLineEdit(this), "titreexo", QStringLiteral("Titre de l'exercice (126 caractères au plus)"),
                    QStringLiteral("Le titre que la fenêtre des exercices affiche : 126 caractères au plus, sans "
                                   "lettres grecques."),
                    hints);
    form->addRow(QStringLiteral("&Titre :"), m_title);
    m_titleNote = new QLabel(this);
    m_titleNote->setObjectName(QStringLiteral("titreinfo"));
    m_titleNote->setWordWrap(true);
    form->addRow(QString(), m_titleNote);
    for (int i = 0; i < 4; ++i) {
        m_notions[i] = named(new QLineEdit(this), QStringLiteral("notion%1").arg(i + 1).toLatin1().constData(),
                             QStringLiteral("Notion abordée %1 (facultative)").arg(i + 1),
                             QStringLiteral("Une notion que l'exercice aborde ; la fenêtre des exercices les affiche "
                                            "à la suite, séparées par « ; »."),
                             hints);
        form->addRow(i == 0 ? QStringLiteral("&Notions :") : QString(), m_notions[i]);
    }
    m_notionNote = new QLabel(this);
    m_notionNote->setObjectName(QStringLiteral("notioninfo"));
    m_notionNote->setWordWrap(true);
    form->addRow(QString(), m_notionNote);
    m_difficulty = named(new QSpinBox(this), "difficulte", QStringLiteral("Niveau de difficulté, de 1 à 3"),
                         QStringLiteral("Le nombre d'ampoules allumées dans la fenêtre des exercices (1 à 3)."), hints);
    m_difficulty->setRange(1, 3);
    form->addRow(QStringLiteral("&Difficulté :"), m_difficulty);
    column->addLayout(form);

    auto *texts = new QGroupBox(QStringLiteral("Texte écrit"), this);
    auto *textsColumn = new QVBoxLayout(texts);
    auto *choice = new QHBoxLayout;
    m_statement =
        named(new QRadioButton(QStringLiteral("&Énoncé"), texts), "choixenonce", QStringLiteral("Écrire l'énoncé"),
              QStringLiteral("Le texte de la fenêtre exercice devient l'énoncé ; la correction est gardée."), hints);
    m_correction = named(new QRadioButton(QStringLiteral("&Correction"), texts), "choixcorrection",
                         QStringLiteral("Écrire la correction"),
                         QStringLiteral("Le texte de la fenêtre exercice devient la correction ; l'énoncé est gardé. "
                                        "Une correction vide : exercice non corrigé."),
                         hints);
    m_statement->setChecked(true);
    auto *group = new QButtonGroup(texts);
    group->addButton(m_statement);
    group->addButton(m_correction);
    choice->addWidget(m_statement);
    choice->addWidget(m_correction);
    textsColumn->addLayout(choice);

    auto *situation = new QHBoxLayout;
    m_thumbnail = new QLabel(texts);
    m_thumbnail->setObjectName(QStringLiteral("vignette"));
    m_thumbnail->setFixedSize(kThumbnailSize);
    m_thumbnail->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_thumbnail->setAlignment(Qt::AlignCenter);
    situation->addWidget(m_thumbnail);
    auto *situationButtons = new QVBoxLayout;
    m_take =
        named(new QPushButton(QStringLiteral("Prendre la &situation actuelle"), texts), "prendresituation",
              QStringLiteral("Garder la scène, le tableau et les formules tels qu'ils sont maintenant"),
              QStringLiteral("La situation actuelle (scène, tableau, formules) sera chargée avec ce texte."), hints);
    m_toScene =
        named(new QPushButton(QStringLiteral("Mett&re sur la scène"), texts), "surlascene",
              QStringLiteral("Remettre sur la scène la situation gardée avec ce texte, pour la revoir ou la "
                             "retoucher"),
              QStringLiteral("La scène, le tableau et les formules reprennent la situation de la vignette, en une "
                             "étape que « Annuler » défait."),
              hints);
    m_none = named(new QPushButton(QStringLiteral("&Aucune situation"), texts), "sanssituation",
                   QStringLiteral("Ce texte ne charge aucune situation"),
                   QStringLiteral("Ce texte s'ouvrira sans changer la situation de l'élève."), hints);
    m_measures =
        named(new QPushButton(QStringLiteral("Insérer les &mesures"), texts), "inseremesures",
              QStringLiteral("Écrire les valeurs du panneau des mesures au curseur"),
              QStringLiteral("Les angles et indices mesurés maintenant sont écrits dans le texte, au curseur."), hints);
    m_import = named(new QPushButton(QStringLiteral("&Importer un texte…"), texts), "importetexte",
                     QStringLiteral("Prendre un texte RTF écrit ailleurs (LibreOffice...)"),
                     QStringLiteral("Un texte RTF écrit dans un traitement de texte remplace ce texte, avec sa mise "
                                    "en forme."),
                     hints);
    for (QPushButton *b : {m_take, m_toScene, m_none, m_measures, m_import})
        situationButtons->addWidget(b);
    situationButtons->addStretch();
    situation->addLayout(situationButtons);
    textsColumn->addLayout(situation);
    column->addWidget(texts);

    auto *commands = new QHBoxLayout;
    m_save = named(new QPushButton(QStringLiteral("&Enregistrer l'exercice"), this), "enregistreexo",
                   QStringLiteral("Enregistrer l'exercice, ses textes et ses situations dans un dossier"),
                   QStringLiteral("Enregistre le fichier d'exercice, l'énoncé, la correction et leurs situations "
                                  "ensemble : tout ou rien."),
                   hints);
    m_finish = named(new QPushButton(QStringLiteral("&Fermer"), this), "fermeauteur",
                     QStringLiteral("Quitter l'écriture de l'exercice"),
                     QStringLiteral("Revenir au texte de l'élève ; une question est posée si des modifications "
                                    "seraient perdues."),
                     hints);
    commands->addWidget(m_save);
    commands->addStretch();
    commands->addWidget(m_finish);
    column->addLayout(commands);
    showThumbnail(QImage());
}

void AuthoringPanel::showThumbnail(const QImage &image)
{
    // Nothing to put on the scene without a situation.
    m_toScene->setEnabled(!image.isNull());
    if (image.isNull()) {
        m_thumbnail->setPixmap(QPixmap());
        m_thumbnail->setText(QStringLiteral("Aucune situation"));
    } else {
        m_thumbnail->setPixmap(
            QPixmap::fromImage(image.scaled(kThumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
}

void AuthoringPanel::setNote(QLabel *note, const QString &text, bool problem)
{
    note->setText(text);
    note->setStyleSheet(problem ? QStringLiteral("color: #c00000;") : QString());
}

void AuthoringPanel::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit closeRequested();
}

void AuthoringPanel::reject()
{
    emit closeRequested();
}

void AuthoringPanel::showForm(const ExerciseSet &set)
{
    const QSignalBlocker block(m_difficulty);
    m_title->setText(set.title);
    for (int i = 0; i < 4; ++i)
        m_notions[i]->setText(notionAsTyped(set.notions.value(i)));
    m_difficulty->setValue(set.difficulty);
}

ExerciseForm AuthoringPanel::form() const
{
    ExerciseForm form;
    form.title = m_title->text();
    for (const QLineEdit *notion : m_notions)
        form.notions.append(notion->text());
    form.difficulty = m_difficulty->value();
    return form;
}

void AuthoringPanel::checkFields()
{
    const QString title = m_title->text();
    const QString problem = titleProblem(title);
    if (title.isEmpty())
        setNote(m_titleNote, QStringLiteral("Un titre est nécessaire : 126 caractères au plus."), false);
    else
        setNote(m_titleNote, problem.isEmpty() ? QStringLiteral("%1 / 126 caractères").arg(title.size()) : problem,
                !problem.isEmpty());

    QString notion;
    for (const QString &stored : notionsAsStored(form().notions))
        if (notion.isEmpty())
            notion = notionProblem(stored);
    setNote(m_notionNote, notion, !notion.isEmpty());
}

} // namespace vorlac
