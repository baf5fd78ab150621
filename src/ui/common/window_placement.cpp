#include "ui/common/window_placement.h"

#include <QScreen>
#include <QWidget>

#include "ui/session.h"

namespace quantora {

void TakeMonitorOffset(Session& session, const QWidget* from) {
    QRect own = from->frameGeometry();
    QRect screen = from->screen()->geometry();
    session.Offset = FindMonitorOffset(own.left(), own.top(), own.width(), own.height(),
                                       screen.width(), screen.height());
}

void CentreOnScreenOf(QWidget* window, const QWidget* owner, const Session& session) {
    QRect screen = owner->screen()->geometry();
    QRect frame = window->frameGeometry();
    WindowOrigin at = CentredOrigin(frame.width(), frame.height(), screen.width(), screen.height(),
                                    session.Offset);
    window->move(screen.left() + at.left, screen.top() + at.top);
}

}  // namespace quantora
