// The captions and enabled states of the management window's three column menus, prepared
// each time a menu opens from the menu bar or pops up over its column. An item that acts on
// the selected entry carries the entry's name after a caption prefix of dots and blanks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "manage/job_clipboard.h"

namespace quantora {

struct MenuItemState {
    std::string caption;
    bool enabled = false;
};

struct GroupMenuState {
    MenuItemState rename, remove;
};

struct JobMenuState {
    MenuItemState open, rename, cut, copy, paste, remove;
};

struct PriceListMenuState {
    MenuItemState open, rename, remove;
};

// selected is the selected entry's name, empty for none.
// The last group stays: with one group listed, "Delete" is disabled.
GroupMenuState GroupMenuItems(const std::string& selected, std::size_t groupsListed);
// "Paste" is offered with the clipboard's job name in every group but the one it came from.
JobMenuState JobMenuItems(const std::string& selected, const JobClipboard& clipboard,
                          std::int16_t currentGroup);
// Unlike the last group, the last price list can be deleted.
PriceListMenuState PriceListMenuItems(const std::string& selected);

}  // namespace quantora
