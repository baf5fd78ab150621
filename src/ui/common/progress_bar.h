// The growing bar of a long load or copy (Barframe with ProgBar inside). It is drawn again
// only when it has grown by a whole pixel, and at most about thirty times a second, so a
// list of 100,000 items does not pay for 100,000 repaints.
#pragma once

#include <QFrame>
#include <chrono>
#include <cstdint>

namespace quantora {

class ProgressBar : public QFrame {
  public:
    explicit ProgressBar(QWidget* parent);

    // Empties the bar, all but startWidth pixels, for a run of steps steps.
    void Begin(std::int64_t steps, int startWidth = 1);
    // Steps done: the bar grows by their share and is repainted at once when that shows and
    // the last painting is a thirtieth of a second old.
    void Advance(std::int64_t steps = 1);
    // The bar full.
    void Complete();

  private:
    void Fill(int width);

    QFrame* bar_;
    double step_ = 0;
    double width_ = 0;
    std::chrono::steady_clock::time_point lastPainted_;
};

}  // namespace quantora
