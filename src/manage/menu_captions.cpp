#include "manage/menu_captions.h"

namespace quantora {

namespace {

// An item captioned with its prefix and the name, or plain and disabled without one.
MenuItemState Named(const char* plain, const char* prefix, const std::string& name) {
    if (name.empty()) return {plain, false};
    return {prefix + name, true};
}

}  // namespace

GroupMenuState GroupMenuItems(const std::string& selected, std::size_t groupsListed) {
    GroupMenuState menu{Named("Rename", "Rename....    ", selected),
                        Named("Delete", "Delete......    ", selected)};
    if (groupsListed == 1) menu.remove.enabled = false;
    return menu;
}

JobMenuState JobMenuItems(const std::string& selected, const JobClipboard& clipboard,
                          std::int16_t currentGroup) {
    std::string pasted = clipboard.CanPasteInto(currentGroup) ? clipboard.ClipName : "";
    return {
        Named("Open", "Open......    ", selected),  Named("Rename", "Rename...    ", selected),
        Named("Cut", "Cut........     ", selected), Named("Copy", "Copy......     ", selected),
        Named("Paste", "Paste......    ", pasted),  Named("Delete", "Delete.....    ", selected)};
}

PriceListMenuState PriceListMenuItems(const std::string& selected) {
    return {Named("Open", "Open.........    ", selected),
            Named("Rename", "Rename......    ", selected),
            Named("Delete", "Delete........    ", selected)};
}

}  // namespace quantora
