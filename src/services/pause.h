// The busy wait that pricing and list loading use so that the user can see their progress
// windows. Tests and benchmarks switch it off; so does QUANTORA_NO_PAUSES=1 in the
// environment of the program.
#pragma once

#include <cstdint>

namespace quantora {

// Waits the given milliseconds without processing window events, unless pauses are off.
void Pause(std::int16_t milliseconds);

void SetPausesEnabled(bool enabled);

// The wait's end test on a 32-bit millisecond tick count: the time has passed, or the
// counter wrapped round since the start (then the wait ends at once rather than hanging).
bool PauseIsOver(std::uint32_t startTick, std::uint32_t nowTick, std::int16_t milliseconds);

}  // namespace quantora
