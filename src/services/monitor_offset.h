// Opening a window on the same screen as the window it belongs to, counted in whole screen
// sizes from the primary screen.
#pragma once

#include <cstdint>

namespace quantora {

struct MonitorOffset {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The offsets for a window at (left, top) of the given size, all in twips, on a primary
// screen of screenWidth x screenHeight.
MonitorOffset FindMonitorOffset(std::int32_t left, std::int32_t top, std::int32_t width,
                                std::int32_t height, std::int32_t screenWidth,
                                std::int32_t screenHeight);

// Where a window of the given size opens centred, shifted by the offsets.
struct WindowOrigin {
    std::int32_t left;
    std::int32_t top;
};
WindowOrigin CentredOrigin(std::int32_t width, std::int32_t height, std::int32_t screenWidth,
                           std::int32_t screenHeight, MonitorOffset offset);

}  // namespace quantora
