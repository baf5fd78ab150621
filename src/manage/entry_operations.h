// The group and price list operations as the management window runs them, step by step:
// what an answer of the name dialog leads to, and what is asked before a delete. The window
// only shows the dialog, the message and the lists.
#pragma once

#include <string>

#include "manage/name_index.h"

namespace quantora {

inline constexpr const char* kNameExists = "Name already exists - Please enter another.    ";
inline constexpr const char* kNoRoomForName =
    "There is no room for another name - Please delete one first.    ";

// The outcome of one name from the dialog: done, or a refusal to show before the dialog is
// offered again with the refused name.
struct NameAnswer {
    bool done = false;
    std::string refusal;
};

// A new group or price list of that name (see NewEntry): made current, or refused.
NameAnswer NewEntryNamed(const DataPaths& paths, Settings& settings, NameIndex index,
                         const std::string& name);
// The current group or price list renamed (see RenameEntry), or refused.
NameAnswer RenameEntryTo(const DataPaths& paths, Settings& settings, NameIndex index,
                         const std::string& name);

// The question asked before the entry of that name is deleted, with OK and Cancel.
std::string DeleteEntryQuestion(NameIndex index, const std::string& name);

// Whether the next key is ignored after the operation's messages close. The group
// operations ask for it; the price list operations do not (the name dialog still does as
// it closes, whoever opened it).
bool MessagesLatchKeys(NameIndex index);

}  // namespace quantora
