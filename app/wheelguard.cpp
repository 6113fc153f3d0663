#include "app/wheelguard.h"

#include <QCoreApplication>
#include <QWheelEvent>
#include <QWidget>

namespace trelvane {

namespace {

class WheelGuard : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *control = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::Wheel || !control || control->hasFocus() || !control->parentWidget())
            return false;
        const auto *wheel = static_cast<QWheelEvent *>(event);
        QWidget *under = control->parentWidget();
        const QPointF at = control->mapTo(under, wheel->position());
        QWheelEvent passed(at, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                           wheel->modifiers(), wheel->phase(), wheel->inverted(), Qt::MouseEventNotSynthesized,
                           wheel->pointingDevice());
        QCoreApplication::sendEvent(under, &passed);
        return true;
    }
};

}  // namespace

void takeWheelOnlyWithFocus(QWidget &control)
{
    // Wheel focus would hand the control the focus just before the filter asks for it.
    if ((control.focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus)
        control.setFocusPolicy(Qt::StrongFocus);
    control.installEventFilter(new WheelGuard(&control));
}

}  // namespace trelvane
