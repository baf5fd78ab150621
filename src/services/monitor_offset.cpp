#include "services/monitor_offset.h"

namespace quantora {

MonitorOffset FindMonitorOffset(std::int32_t left, std::int32_t top, std::int32_t width,
                                std::int32_t height, std::int32_t screenWidth,
                                std::int32_t screenHeight) {
    MonitorOffset offset;
    if (left > screenWidth) offset.x = screenWidth;
    if (left + width < 0) offset.x = -screenWidth;
    if (top > screenHeight) offset.y = screenHeight;
    if (top + height < 0) offset.y = -screenHeight;
    return offset;
}

WindowOrigin CentredOrigin(std::int32_t width, std::int32_t height, std::int32_t screenWidth,
                           std::int32_t screenHeight, MonitorOffset offset) {
    return {(screenWidth - width) / 2 + offset.x, (screenHeight - height) / 2 + offset.y};
}

}  // namespace quantora
