#include "store/file_name_rules.h"

#include "store/code_page.h"

namespace quantora {

bool FitsNameCodePage(char32_t c) { return CodePointFitsCp1252(c); }

bool IsAllowedInFileName(char32_t c) {
    return FitsNameCodePage(c) &&
           (c >= 0x80 || kForbiddenNameChars.find(static_cast<char>(c)) == std::string_view::npos);
}

// Removing characters first and then leading full stops and edge blanks means no cleaned
// name can begin with a full stop or a blank, or end with a blank: a trailing blank would be
// lost when a job line stores the name, and the line would no longer find its job.
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

}  // namespace quantora
