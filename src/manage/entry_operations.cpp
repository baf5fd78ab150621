#include "manage/entry_operations.h"

namespace quantora {

namespace {

NameAnswer Answer(SlotChange outcome) {
    switch (outcome) {
        case SlotChange::Done:
            return {true, ""};
        case SlotChange::Full:
            return {false, kNoRoomForName};
        case SlotChange::Duplicate:
        case SlotChange::BadName:
            // A name that cannot be stored is refused as an existing one is: the dialog
            // refuses characters outside the code page, so only a damaged name gets here.
            break;
    }
    return {false, kNameExists};
}

}  // namespace

NameAnswer NewEntryNamed(const DataPaths& paths, Settings& settings, NameIndex index,
                         const std::string& name) {
    return Answer(NewEntry(paths, settings, index, name).outcome);
}

NameAnswer RenameEntryTo(const DataPaths& paths, Settings& settings, NameIndex index,
                         const std::string& name) {
    return Answer(RenameEntry(paths, settings, index, name));
}

std::string DeleteEntryQuestion(NameIndex index, const std::string& name) {
    if (index == NameIndex::Groups)
        return "Are you sure you want to delete " + name + "    \n\nAnd all its contents?    ";
    return "Are you sure you want to delete    \n\n" + name + "    ";
}

bool MessagesLatchKeys(NameIndex index) { return index == NameIndex::Groups; }

}  // namespace quantora
