#include "zoom.h"

#include "editingsurface.h"
#include "usersettings.h"

#include <QWheelEvent>

#include <algorithm>

namespace zendral {

namespace {

constexpr int FallbackPointSize = 10;
const QString ZoomKey = QStringLiteral("ver/zoom");

} // namespace

Zoom::Zoom(EditingSurface &view) : QObject(&view), m_view(view)
{
    m_normalSize = view.font().pointSize();
    // A font sized in pixels has no point size.
    if (m_normalSize <= 0)
        m_normalSize = FallbackPointSize;
    apply(userSettings()->value(ZoomKey, 0).toInt());
    view.viewport()->installEventFilter(this);
}

void Zoom::zoomBy(int steps)
{
    apply(m_steps + steps);
    userSettings()->setValue(ZoomKey, m_steps);
}

void Zoom::apply(int steps)
{
    // From 6 points to four times the normal size.
    m_steps = std::clamp(steps, std::min(0, 6 - m_normalSize), 3 * m_normalSize);
    QFont font = m_view.font();
    font.setPointSize(m_normalSize + m_steps);
    m_view.setFont(font);
}

bool Zoom::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto *wheel = static_cast<QWheelEvent *>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier))
        return false;
    // Fine-grained wheels send small steps: a zoom step is one notch of a mouse wheel.
    m_pendingWheel += wheel->angleDelta().y();
    const int steps = m_pendingWheel / QWheelEvent::DefaultDeltasPerStep;
    m_pendingWheel -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0)
        zoomBy(steps);
    return true;
}

} // namespace zendral
