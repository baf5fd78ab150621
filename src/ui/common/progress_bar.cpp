#include "ui/common/progress_bar.h"

#include <algorithm>

namespace quantora {

ProgressBar::ProgressBar(QWidget* parent) : QFrame(parent) {
    setObjectName("Barframe");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    bar_ = new QFrame(this);
    bar_->setObjectName("ProgBar");
    bar_->setAutoFillBackground(true);
    QPalette colours = bar_->palette();
    colours.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    bar_->setPalette(colours);
    Fill(1);
}

void ProgressBar::Begin(std::int64_t steps, int startWidth) {
    lastPainted_ = {};
    step_ = steps <= 0 ? width() : static_cast<double>(width()) / static_cast<double>(steps);
    width_ = startWidth;
    Fill(startWidth);
}

void ProgressBar::Advance(std::int64_t steps) {
    width_ += step_ * static_cast<double>(steps);
    int shown = std::min(static_cast<int>(width_), width());
    if (shown == bar_->width()) return;
    Fill(shown);
    // About thirty paintings a second are all an eye can follow; more would only slow the
    // work the bar reports on.
    auto now = std::chrono::steady_clock::now();
    if (now - lastPainted_ < std::chrono::milliseconds(33)) return;
    lastPainted_ = now;
    bar_->repaint();
}

void ProgressBar::Complete() {
    Fill(width());
    bar_->repaint();
}

void ProgressBar::Fill(int width) { bar_->setGeometry(0, 0, width, height()); }

}  // namespace quantora
