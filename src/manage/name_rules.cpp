#include "manage/name_rules.h"

#include "store/code_page.h"

namespace quantora {

namespace {

std::string TrimSpaces(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The one cleaning behind every file-name rule. Removing characters first and then leading
// full stops and edge blanks means no cleaned name can begin with a full stop or a blank,
// or end with a blank: a trailing blank would be lost when a job line stores the name, and
// the line would no longer find its job.
std::optional<std::string> CleanFileName(const std::string& name, std::string_view removed) {
    std::string kept;
    for (char c : name)
        if (removed.find(c) == std::string_view::npos) kept += c;
    std::size_t first = kept.find_first_not_of(". ");
    if (first == std::string::npos) return std::nullopt;
    std::string cleaned = kept.substr(first, kept.find_last_not_of(' ') - first + 1);
    auto bytes = EncodeCp1252(cleaned);
    if (!bytes || bytes->size() > kMaxNameLength) return std::nullopt;
    return cleaned;
}

constexpr std::string_view kJobRemoved = "\"/\\<>?*:|";

}  // namespace

bool FitsNameCodePage(char32_t c) { return CodePointFitsCp1252(c); }

bool IsAllowedInSaveAsName(char32_t c) {
    return FitsNameCodePage(c) &&
           (c >= 0x80 || kForbiddenNameChars.find(static_cast<char>(c)) == std::string_view::npos);
}

bool IsAllowedInItemName(char32_t c) { return IsAllowedInSaveAsName(c) && c != U'"'; }

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

std::optional<std::string> CleanItemName(const std::string& typed) {
    return CleanFileName(typed, kForbiddenNameChars);
}

}  // namespace quantora
