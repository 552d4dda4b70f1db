#include "spectra/spectrumaccessible.h"

#include "spectra/observedspectrumview.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QPointer>
#include <cmath>

namespace vorlac
{

namespace
{

class SpectrumAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
  public:
    explicit SpectrumAccessible(ObservedSpectrumView *view) : QAccessibleWidget(view, QAccessible::Slider), m_view(view)
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
        switch (t) {
        case QAccessible::Name:
            return ObservedSpectrumView::kAccessibleName;
        case QAccessible::Value:
            return m_view ? m_view->readoutText() : QString();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QVariant currentValue() const override { return m_view ? QVariant(m_view->cursorMm()) : QVariant(); }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double mm = value.toDouble(&ok);
        if (m_view && ok && std::isfinite(mm))
            m_view->setCursorMm(mm);
    }
    QVariant maximumValue() const override { return m_view ? QVariant(m_view->range().toMm) : QVariant(); }
    QVariant minimumValue() const override { return m_view ? QVariant(m_view->range().fromMm) : QVariant(); }
    QVariant minimumStepSize() const override { return m_view ? QVariant(m_view->range().pixelMm()) : QVariant(); }

  private:
    QPointer<ObservedSpectrumView> m_view;
};

} // namespace

QAccessibleInterface *observedSpectrumAccessibleFactory(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<ObservedSpectrumView *>(object))
        return new SpectrumAccessible(view);
    return nullptr;
}

} // namespace vorlac
