#include "services/pause.h"

#include <atomic>
#include <chrono>

namespace quantora {

namespace {

std::atomic<bool> pausesEnabled{true};

std::uint32_t TickCount() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

}  // namespace

void SetPausesEnabled(bool enabled) { pausesEnabled = enabled; }

bool PauseIsOver(std::uint32_t startTick, std::uint32_t nowTick, std::int16_t milliseconds) {
    return nowTick < startTick || static_cast<std::uint64_t>(nowTick) >
                                      static_cast<std::uint64_t>(startTick) + milliseconds;
}

void Pause(std::int16_t milliseconds) {
    if (!pausesEnabled) return;
    std::uint32_t start = TickCount();
    while (!PauseIsOver(start, TickCount(), milliseconds)) {
    }
}

}  // namespace quantora
