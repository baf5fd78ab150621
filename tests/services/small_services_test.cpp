#include <gtest/gtest.h>

#include <chrono>

#include "services/monitor_offset.h"
#include "services/pause.h"

namespace quantora {
namespace {

TEST(Pause, EndsWhenTheTimeHasPassedOrTheCounterWrapped) {
    EXPECT_FALSE(PauseIsOver(1000, 1000, 200));
    EXPECT_FALSE(PauseIsOver(1000, 1200, 200));
    EXPECT_TRUE(PauseIsOver(1000, 1201, 200));
    EXPECT_TRUE(PauseIsOver(1000, 999, 200));  // wrapped: end at once, never hang
    // Near the top of the counter the end lies past the wrap; the sum must not wrap too.
    EXPECT_FALSE(PauseIsOver(0xFFFFFFF0u, 0xFFFFFFFFu, 200));
    EXPECT_TRUE(PauseIsOver(0xFFFFFFF0u, 5, 200));
}

TEST(Pause, SwitchedOffReturnsAtOnce) {
    SetPausesEnabled(false);
    auto start = std::chrono::steady_clock::now();
    Pause(30000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    SetPausesEnabled(true);
}

TEST(MonitorOffset, WindowsOnOtherScreensCountInWholeScreens) {
    const int w = 19200, h = 10800;
    EXPECT_EQ(FindMonitorOffset(100, 100, 5000, 4000, w, h).x, 0);
    EXPECT_EQ(FindMonitorOffset(-9000, 100, 5000, 4000, w, h).x, -w);  // wholly left
    EXPECT_EQ(FindMonitorOffset(-3000, 100, 5000, 4000, w, h).x, 0);   // straddling
    EXPECT_EQ(FindMonitorOffset(w + 10, 100, 5000, 4000, w, h).x, w);
    EXPECT_EQ(FindMonitorOffset(100, h + 1, 5000, 4000, w, h).y, h);
    EXPECT_EQ(FindMonitorOffset(100, -5000, 5000, 4000, w, h).y, -h);
    WindowOrigin origin = CentredOrigin(6000, 4000, w, h, {-w, 0});
    EXPECT_EQ(origin.left, (w - 6000) / 2 - w);
    EXPECT_EQ(origin.top, (h - 4000) / 2);
}

}  // namespace
}  // namespace quantora
