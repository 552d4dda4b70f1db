#include "common/accessiblewidgets.h"

#include "common/accessiblenaming.h"
#include "common/clicklabel.h"
#include "common/updown.h"

#include <QAbstractItemView>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFrame>

namespace vorlac
{

namespace
{

class ContainerAccessible : public QAccessibleWidget
{
  public:
    explicit ContainerAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        const QString title = AccessibleNaming::title(widget());
        return title.isEmpty() ? AccessibleNaming::derivedName(widget()) : title;
    }
};

class ClickAccessible : public QAccessibleWidget
{
  public:
    explicit ClickAccessible(ClickLabel *l) : QAccessibleWidget(l, l->accessibleRole()) {}

    ClickLabel *label() const { return static_cast<ClickLabel *>(widget()); }

    QAccessible::Role role() const override { return label()->accessibleRole(); }

    QString text(QAccessible::Text t) const override
    {
        const QString own = AccessibleNaming::plainText(label()->text());
        const QString tip = AccessibleNaming::plainText(label()->toolTip());
        if (t == QAccessible::Name) {
            if (!label()->accessibleName().isEmpty())
                return label()->accessibleName();
            if (!own.isEmpty())
                return own;
            return tip.isEmpty() ? AccessibleNaming::derivedName(label()) : tip;
        }
        if (t == QAccessible::Description && label()->accessibleDescription().isEmpty())
            return tip == text(QAccessible::Name) ? QString() : tip;
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return QStringList{pressAction()} << QAccessibleWidget::actionNames(); }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && label()->isEnabled())
            label()->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

class UpDownAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
  public:
    explicit UpDownAccessible(UpDown *u) : QAccessibleWidget(u, QAccessible::SpinBox) {}

    UpDown *upDown() const { return static_cast<UpDown *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? QString::number(upDown()->value()) : QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return upDown()->value(); }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const int v = value.toInt(&ok);
        if (ok)
            upDown()->setValue(v);
    }
    QVariant maximumValue() const override { return upDown()->maximum(); }
    QVariant minimumValue() const override { return upDown()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }
};

class ComboAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
  public:
    explicit ComboAccessible(QComboBox *b) : QAccessibleWidget(b, QAccessible::ComboBox) {}

    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    // The list that opens, as the toolkit gives it.
    int childCount() const override { return box()->view() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 && box()->view() ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *c) const override
    {
        return c && box()->view() && c->object() == box()->view() ? 0 : -1;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} << QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action == showMenuAction() || action == pressAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

    // The chosen item, read only.
    QString text(int start, int end) const override { return box()->currentText().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(box()->currentText().size()); }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }
};

} // namespace

bool isContainerFrame(const QWidget *w)
{
    if (!w || w->isWindow())
        return false;
    // The program's classes are in its namespace; the first class of the toolkit tells the kind.
    const QMetaObject *mo = w->metaObject();
    while (mo && QByteArray(mo->className()).startsWith("vorlac::"))
        mo = mo->superClass();
    return mo == &QFrame::staticMetaObject;
}

bool namedByItsContent(const QWidget *w)
{
    return isContainerFrame(w) || qobject_cast<const ClickLabel *>(w);
}

QAccessibleInterface *programAccessibleFactory(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *w = static_cast<QWidget *>(object);
    if (auto *l = qobject_cast<ClickLabel *>(w))
        return new ClickAccessible(l);
    if (auto *u = qobject_cast<UpDown *>(w))
        return new UpDownAccessible(u);
    if (auto *b = qobject_cast<QComboBox *>(w); b && !b->isEditable())
        return new ComboAccessible(b);
    if (isContainerFrame(w))
        return new ContainerAccessible(w);
    return nullptr;
}

} // namespace vorlac
