#include "common/accessiblewidgets.h"

#include "common/accessiblenaming.h"
#include "common/clicklabel.h"
#include "common/updown.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
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
    if (isContainerFrame(w))
        return new ContainerAccessible(w);
    return nullptr;
}

} // namespace vorlac
