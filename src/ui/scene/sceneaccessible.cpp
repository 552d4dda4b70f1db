#include "scene/sceneaccessible.h"

#include "common/regional.h"
#include "model/lampgeometry.h"
#include "model/scenedescription.h"
#include "scene/scenecontroller.h"
#include "scene/sceneview.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <algorithm>
#include <cmath>

namespace vorlac
{

namespace
{

const QString kSceneName = QStringLiteral("Scène du prisme");
const QString kLampName = QStringLiteral("Lampe");
const QString kLampKeys =
    QStringLiteral("Incidence de la lumière : flèches gauche et droite 1 degré (Maj : 0,1 degré), "
                   "page précédente et page suivante 10 degrés.");

class SceneAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
  public:
    SceneAccessible(QWidget *widget, QAccessible::Role role, SceneView *view)
        : QAccessibleWidget(widget, role), m_view(view)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        const bool lamp = role() == QAccessible::Slider;
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? (lamp ? kLampName : kSceneName) : widget()->accessibleName();
        case QAccessible::Description:
            return lamp ? kLampKeys : sceneDescription(m_view);
        case QAccessible::Value:
            return sceneDescription(m_view);
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QVariant currentValue() const override
    {
        const SceneController *c = m_view ? m_view->controller() : nullptr;
        return c ? QVariant(c->state().incidenceAngle) : QVariant();
    }
    void setCurrentValue(const QVariant &value) override
    {
        SceneController *c = m_view ? m_view->controller() : nullptr;
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (c && ok && std::isfinite(v))
            c->setIncidenceAngle(std::clamp(v, -kLampIncidenceLimit, kLampIncidenceLimit));
    }
    QVariant maximumValue() const override { return kLampIncidenceLimit; }
    QVariant minimumValue() const override { return -kLampIncidenceLimit; }
    QVariant minimumStepSize() const override { return kLampFineKeyStep; }

  private:
    SceneView *m_view;
};

} // namespace

QString sceneDescription(const SceneView *view)
{
    const SceneController *c = view ? view->controller() : nullptr;
    return c ? describeScene(c->figure().state, c->figure().paths, regionalLocale()) : QString();
}

QAccessibleInterface *sceneAccessibleFactory(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<SceneView *>(object))
        return new SceneAccessible(view, QAccessible::Graphic, view);
    if (auto *lamp = qobject_cast<LampLabel *>(object))
        if (auto *view = qobject_cast<SceneView *>(lamp->parentWidget()); view && view->lamp() == lamp)
            return new SceneAccessible(lamp, QAccessible::Slider, view);
    return nullptr;
}

void announceScene(SceneView *view)
{
    if (!view || !view->controller())
        return;
    const double incidence = view->controller()->state().incidenceAngle;
    for (QObject *o : {static_cast<QObject *>(view), static_cast<QObject *>(view->lamp())}) {
        QAccessibleValueChangeEvent value(o, incidence);
        QAccessible::updateAccessibility(&value);
    }
    QAccessibleEvent description(view, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
}

} // namespace vorlac
