// What every name that becomes a file name (a job, an item) may hold: characters the data
// files' Windows-1252 code page can store, none of / \ < > ? * : |, and at most 70 of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quantora {

inline constexpr std::size_t kMaxNameLength = 70;

// The characters no job or item name holds: / \ < > ? * : |
inline constexpr std::string_view kForbiddenNameChars = "/\\<>?*:|";

// Whether a character may be typed in any name at all: it must have a Windows-1252 byte.
bool FitsNameCodePage(char32_t c);

// Whether a character may be typed into a file name: it fits the code page and is none of
// the forbidden characters.
bool IsAllowedInFileName(char32_t c);

// The one cleaning behind every file-name rule: the characters of removed dropped, then
// leading full stops and blanks at both ends. Nothing when no usable name is left or the
// name does not fit Windows-1252 in 70 characters.
std::optional<std::string> CleanFileName(const std::string& name, std::string_view removed);

}  // namespace quantora
