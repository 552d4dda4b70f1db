// What a screen reader finds: a French name on every widget of every window, the scene's words
// and its incidence as a value; and the window drawn for large screens.
#include "common/accessiblenaming.h"
#include "common/clicklabel.h"
#include "common/menus.h"
#include "common/panelplaces.h"
#include "exercises/exercisearea.h"
#include "panels/tableframe.h"
#include "rowname.h"
#include "scene/sceneaccessible.h"
#include "scene/sceneframe.h"
#include "scene/sceneview.h"
#include "vorlacfixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTest>

using namespace vorlac;

namespace
{

// Names a French reader must never hear: the toolkit's English words and the program's own
// object names.
bool soundsFrench(const QString &name, const QWidget *w)
{
    static const QStringList english = {"Cancel", "Open",   "Save",  "Close",  "Yes",     "No",
                                        "Apply",  "Help",   "Print", "Reset",  "Discard", "Abort",
                                        "Retry",  "Ignore", "Form",  "Dialog", "Back"};
    // A caption that happens to be the object name ("EXE") is what the user reads too.
    return !name.trimmed().isEmpty() && !english.contains(name.trimmed()) &&
           (name != w->objectName() || AccessibleNaming::ownName(w) == name);
}

QString nameOf(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// Every visible widget of the window w (w included) without a French accessible name of its own:
// a label is named by the text it shows now (an empty one says nothing), and no two controls
// of one parent share a name.
QStringList unnamed(QWidget *w)
{
    QStringList missing;
    QList<QWidget *> all = w->findChildren<QWidget *>();
    all.prepend(w);
    for (QWidget *c : all) {
        if (!c->isVisible() || c->window() != w)
            continue;
        const QString name = nameOf(c);
        const QString what = QStringLiteral("%1 (%2): \"%3\"").arg(c->objectName(), c->metaObject()->className(), name);
        const auto *label = qobject_cast<QLabel *>(c);
        if (label && label->pixmap().isNull() && !qobject_cast<ClickLabel *>(c)) {
            if (name != AccessibleNaming::plainText(label->text()) && c->accessibleName().isEmpty())
                missing << what + " is not its text";
            continue;
        }
        if (!soundsFrench(name, c))
            missing << what;
        for (QWidget *s : c->parentWidget() ? c->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)
                                            : QList<QWidget *>{})
            if (s != c && s->isVisible() && (c->focusPolicy() & Qt::TabFocus) && (s->focusPolicy() & Qt::TabFocus) &&
                nameOf(s) == name && !qobject_cast<QComboBox *>(c))
                missing << what + " shared with " + s->objectName();
    }
    return missing;
}

struct WindowRow {
    const char *name;
    const char *window; // objectName of the window that opens
    std::function<void(Vorlac &)> open;
};

void PrintTo(const WindowRow &r, std::ostream *os)
{
    *os << r.name;
}

class NamedWidgets : public VorlacFixture, public ::testing::WithParamInterface<WindowRow>
{
};

void click(Vorlac &w, const char *name)
{
    w.findChild<QAbstractButton *>(QString::fromLatin1(name))->click();
}

void tableItem(Vorlac &w, const char *item)
{
    namedAction(*w.tableFrame().tableMenu(), item)->trigger();
}

void columnItem(Vorlac &w, const char *item)
{
    namedAction(*w.tableFrame().columnMenu(), item)->trigger();
}

TEST_P(NamedWidgets, EveryWidgetHasAFrenchName)
{
    const WindowRow row = GetParam();
    Vorlac &w = window();
    w.show();
    for (const char *icon : {"Image3(1)", "Image3(2)", "Image3(3)", "Image3(4)", "Image3(5)"})
        QTest::mouseClick(child<QWidget>(icon), Qt::LeftButton, {}, QPoint(5, 5));
    child<QAbstractButton>("Check1")->click();
    QStringList missing;
    if (row.open) {
        // The window is checked while it is up, then closed.
        dialogs.answer(row.window, [&missing](QWidget *d) {
            missing = unnamed(d);
            DialogWatch::close(d);
        });
        row.open(w);
        dialogs.wait();
    } else {
        missing = unnamed(&w);
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NamedWidgets,
    ::testing::Values(WindowRow{"main_window", "Vorlac", {}},
                      WindowRow{"open_dialog", "ouvrir", [](Vorlac &w) { click(w, "Command2"); }},
                      WindowRow{"save_dialog", "enregistrer", [](Vorlac &w) { click(w, "Command11"); }},
                      WindowRow{"print_window", "confimp", [](Vorlac &w) { click(w, "Command10"); }},
                      WindowRow{"calculator", "Machine", [](Vorlac &w) { click(w, "Command8"); }},
                      WindowRow{"notations", "Notations", [](Vorlac &w) { click(w, "Command3"); }},
                      WindowRow{"line_count", "fnblignes", [](Vorlac &w) { tableItem(w, "nblignes"); }},
                      WindowRow{"number_format", "Formatdonnees", [](Vorlac &w) { tableItem(w, "formatsc"); }},
                      WindowRow{"grapher", "grapheur", [](Vorlac &w) { tableItem(w, "repgraphe"); }},
                      WindowRow{"arithmetic_fill", "arith", [](Vorlac &w) { columnItem(w, "suitar"); }},
                      WindowRow{"exercises", "Fichexo",
                                [](Vorlac &w) { w.exercises().menuAction("openexo")->trigger(); }},
                      WindowRow{"custom_material", "LOUPE",
                                [](Vorlac &w) {
                                    auto *list =
                                        w.findChild<QWidget *>(QStringLiteral("Picture4"))->findChild<QComboBox *>();
                                    list->setCurrentIndex(list->count() - 1);
                                    emit list->activated(list->count() - 1);
                                }}),
    RowName());

// The controls as a screen reader finds them with every panel open: what each is, its name, and
// its value where it holds one.
struct ControlRow {
    const char *name;
    const char *object;
    QAccessible::Role role;
    const char *accessibleName;
    const char *value; // empty: none checked
};

void PrintTo(const ControlRow &r, std::ostream *os)
{
    *os << r.name;
}

class ReaderControls : public VorlacFixture, public ::testing::WithParamInterface<ControlRow>
{
};

TEST_P(ReaderControls, RoleNameAndValue)
{
    const ControlRow row = GetParam();
    Vorlac &w = window();
    w.show();
    for (const char *icon : {"Image3(1)", "Image3(2)", "Image3(3)", "Image3(4)", "Image3(5)", "ImageMesures"})
        if (auto *i = w.findChild<QWidget *>(QString::fromLatin1(icon)))
            if (QAccessibleActionInterface *press = QAccessible::queryAccessibleInterface(i)->actionInterface())
                press->doAction(QAccessibleActionInterface::pressAction());
    auto *c = child<QObject>(row.object); // a widget, or a cell of the measures
    ASSERT_NE(c, nullptr) << row.object;
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(c);
    ASSERT_TRUE(i && !i->state().invisible) << row.object;
    EXPECT_EQ(i->role(), row.role);
    EXPECT_EQ(i->text(QAccessible::Name), QString::fromUtf8(row.accessibleName));
    const QString value = QString::fromUtf8(row.value);
    EXPECT_EQ(*row.value ? i->text(QAccessible::Value) : value, value);
    QAccessibleValueInterface *number = *row.value ? i->valueInterface() : nullptr;
    EXPECT_EQ(number ? number->currentValue().toString() : value, value);
    if (row.role == QAccessible::ComboBox) {
        // Orca reads a list box's choice from its text, its caption from the label relation.
        ASSERT_NE(i->textInterface(), nullptr);
        EXPECT_EQ(i->textInterface()->text(0, i->textInterface()->characterCount()), value);
        EXPECT_EQ(i->relations(QAccessible::Label).size(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReaderControls,
    ::testing::Values(
        ControlRow{"prism_panel_is_a_group", "Picture4", QAccessible::Grouping, "Paramétrer le vorlac", ""},
        ControlRow{"scene_frame_is_a_group", "Picture3", QAccessible::Grouping, "Scène", ""},
        ControlRow{"measures_panel", "PictureMesures", QAccessible::Grouping, "Mesures", ""},
        ControlRow{"title_bar_closes", "LabelMesures", QAccessible::Button, "Fermer le panneau Mesures", ""},
        ControlRow{"panel_icon", "Image3(5)", QAccessible::Button, "Rapporteur", ""},
        ControlRow{"exercise_tab", "btexo", QAccessible::PageTab, "Exercices", ""},
        ControlRow{"apex", "angle", QAccessible::SpinBox, "Angle au sommet", "45"},
        ControlRow{"apex_arrow", "up", QAccessible::Button, "Augmenter", ""},
        ControlRow{"scene_scroll_bar", "VScroll1", QAccessible::ScrollBar, "Défilement de la scène", "10"},
        ControlRow{"wavelength", "HScroll1", QAccessible::ScrollBar, "Longueur d'onde (nm)", "589"},
        ControlRow{"scene", "dessin", QAccessible::Graphic, "Scène du prisme", ""},
        ControlRow{"prism_material", "Combo1", QAccessible::ComboBox, "Matériau", "Verre Crown"},
        ControlRow{"measure_is_its_number", "Mesure1_2", QAccessible::StaticText, "1,546416", ""},
        ControlRow{"exercise_file", "fich", QAccessible::EditableText, "Fichier de l'exercice", ""},
        ControlRow{"exercise_text", "supertext", QAccessible::EditableText, "Texte de l'exercice", ""}),
    RowName());

// The offscreen platform has no accessibility bridge, so QAccessible is never active there and
// the change events are not delivered: the interfaces are read directly after each change.
class SceneSpeech : public VorlacFixture
{
};

struct SpeechRow {
    const char *name;
    std::function<void(Vorlac &)> change;
    double incidence;
    const char *starts; // the scene's text begins so
};

void PrintTo(const SpeechRow &r, std::ostream *os)
{
    *os << r.name;
}

class SceneSpeechRows : public SceneSpeech, public ::testing::WithParamInterface<SpeechRow>
{
};

void key(QWidget *w, int k, Qt::KeyboardModifiers m = {})
{
    QKeyEvent press(QEvent::KeyPress, k, m);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, m);
    QCoreApplication::sendEvent(w, &release);
}

TEST_P(SceneSpeechRows, ValueAndWordsFollowEveryChange)
{
    const SpeechRow row = GetParam();
    Vorlac &w = window();
    w.show();
    SceneView *view = w.sceneFrame().view();
    QAccessibleInterface *scene = QAccessible::queryAccessibleInterface(view);
    QAccessibleInterface *lamp = QAccessible::queryAccessibleInterface(view->lamp());
    ASSERT_TRUE(scene && lamp);
    EXPECT_EQ(scene->role(), QAccessible::Graphic);
    EXPECT_EQ(lamp->role(), QAccessible::Slider);
    EXPECT_EQ(lamp->text(QAccessible::Name), "Lampe");
    row.change(w);
    for (QAccessibleInterface *i : {scene, lamp}) {
        ASSERT_NE(i->valueInterface(), nullptr);
        EXPECT_DOUBLE_EQ(i->valueInterface()->currentValue().toDouble(), row.incidence);
        EXPECT_TRUE(i->text(QAccessible::Value).startsWith(QString::fromUtf8(row.starts)))
            << i->text(QAccessible::Value).toStdString();
    }
    EXPECT_EQ(scene->text(QAccessible::Description), scene->text(QAccessible::Value));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SceneSpeechRows,
    ::testing::Values(
        SpeechRow{"lamp_key", [](Vorlac &w) { key(w.sceneFrame().view()->lamp(), Qt::Key_Right); }, 37.0,
                  "Incidence 37,0°, cinq radiations : déviation de "},
        SpeechRow{"set_by_the_reader",
                  [](Vorlac &w) {
                      QAccessible::queryAccessibleInterface(w.sceneFrame().view()->lamp())
                          ->valueInterface()
                          ->setCurrentValue(-12.5);
                  },
                  -12.5, "Incidence -12,5°, cinq radiations"},
        SpeechRow{"monochromatic_source", [](Vorlac &w) { w.controller().setSource(SourceType::Monochromatic); }, 36.0,
                  "Incidence 36,0°, réfraction "},
        SpeechRow{
            "reader_cannot_pass_90",
            [](Vorlac &w) {
                QAccessible::queryAccessibleInterface(w.sceneFrame().view())->valueInterface()->setCurrentValue(120.0);
            },
            90.0, "Incidence 90,0°"}),
    RowName());

// The background gradient tiles without a gap at ratio 2: going down, no row is lighter than
// the row above it (a bare white row was the hairline).
TEST_F(SceneSpeech, BackgroundHasNoHairlineAtRatioTwo)
{
    Vorlac &w = window();
    w.setWindowState(Qt::WindowNoState);
    w.resize(800, 640);
    for (const qreal ratio : {1.5, 2.0}) {
        QImage img(qCeil(800 * ratio), qCeil(640 * ratio), QImage::Format_RGB32);
        img.setDevicePixelRatio(ratio);
        img.fill(Qt::white);
        w.render(&img);
        const int x = qRound(6 * ratio); // left of every room, right of nothing
        for (int y = qRound(42 * ratio); y < img.height() - 1; ++y)
            if (QColor(img.pixel(x, y + 1)).red() > QColor(img.pixel(x, y)).red()) {
                ADD_FAILURE() << "ratio " << ratio << ": row " << y + 1 << " is lighter";
                break;
            }
    }
}

struct ScreenRow {
    const char *name;
    QSize screen;
    QRect frame;
};

void PrintTo(const ScreenRow &r, std::ostream *os)
{
    *os << r.name;
}

class SmallScreens : public VorlacFixture, public ::testing::WithParamInterface<ScreenRow>
{
};

TEST_P(SmallScreens, WindowStaysOnTheScreen)
{
    const ScreenRow row = GetParam();
    EXPECT_EQ(smallScreenFrame(row.screen), row.frame);
    Vorlac &w = window(row.screen);
    w.show();
    EXPECT_EQ(w.frameGeometry(), row.frame);
    EXPECT_TRUE(QRect(QPoint(0, 0), row.screen).contains(w.frameGeometry()));
    w.showMaximized();
    EXPECT_EQ(w.frameGeometry(), row.frame);
}

INSTANTIATE_TEST_SUITE_P(Rows, SmallScreens,
                         ::testing::Values(ScreenRow{"ratio_2_of_1280x1024", {640, 512}, {0, 0, 640, 512}},
                                           ScreenRow{"narrow_and_tall", {700, 900}, {0, 150, 700, 600}},
                                           ScreenRow{"wide_enough_but_low", {820, 560}, {10, 0, 800, 560}},
                                           ScreenRow{"as_before", {849, 768}, {24, 84, 800, 600}}),
                         RowName());

} // namespace
