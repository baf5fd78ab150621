#include "ui/common/after_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace quantora {

namespace {

// A short wait rather than none: the program's turn to its events, which sends the picture
// to the screen, comes only when it has nothing else to do.
constexpr int kTurnToEventsMs = 5;

class PaintWatch : public QObject {
  public:
    PaintWatch(QWidget* widget, std::function<void()> then)
        : QObject(widget), then_(std::move(then)) {
        widget->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        watched->removeEventFilter(this);
        QTimer::singleShot(kTurnToEventsMs, watched, std::move(then_));
        deleteLater();
        return false;
    }

  private:
    std::function<void()> then_;
};

}  // namespace

void AfterNextPaint(QWidget* widget, std::function<void()> then) {
    new PaintWatch(widget, std::move(then));
    widget->update();
}

}  // namespace quantora
