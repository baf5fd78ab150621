#include "manage/name_rules.h"

namespace quantora {

namespace {

std::string TrimSpaces(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

constexpr std::string_view kJobRemoved = "\"/\\<>?*:|";

}  // namespace

bool IsAllowedInSaveAsName(char32_t c) { return IsAllowedInFileName(c); }

std::string NameFromDialog(const std::string& typed) {
    std::string name = TrimSpaces(typed);
    return name.empty() ? kUntitled : name;
}

std::optional<std::string> CleanJobName(const std::string& fromDialog) {
    return CleanFileName(fromDialog, kJobRemoved);
}

std::optional<std::string> CleanSaveAsName(const std::string& typed) {
    return CleanFileName(NameFromDialog(typed), kForbiddenNameChars);
}

}  // namespace quantora
