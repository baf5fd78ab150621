// The job clipboard of the management window's Cut, Copy and Paste. It lives for one run of
// the program and never touches the desktop's clipboard: the job's bytes wait in Clip.job.
#pragma once

#include <cstdint>
#include <string>

namespace quantora {

struct JobClipboard {
    enum class State : std::int16_t { Empty = 0, Copied = 1, Cut = 2 };

    State ClipState = State::Empty;
    std::int16_t ClipGroup = 0;  // the group the job was copied or cut from
    std::string ClipName;        // the job's name, without padding

    // A job is pasted into any group but the one it came from, again and again.
    bool CanPasteInto(std::int16_t group) const {
        return ClipState != State::Empty && group != ClipGroup;
    }
};

}  // namespace quantora
