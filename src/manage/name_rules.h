// The rules for the names people type into the name dialog and Save As: groups, price lists
// and jobs. Job names become file names, so they lose the characters a file name cannot
// hold; every name must fit the Windows-1252 code page of the data files and 70 characters.
#pragma once

#include <optional>
#include <string>

#include "store/file_name_rules.h"

namespace quantora {

inline constexpr const char* kUntitled = "Untitled";

// Whether a character may be typed into a job name (Save As) field.
bool IsAllowedInSaveAsName(char32_t c);

// The name entry dialog's answer: blanks at both ends removed, "Untitled" when nothing is left.
std::string NameFromDialog(const std::string& typed);

// A new or renamed job from the name dialog: the forbidden characters and the double quote
// removed, then leading full stops and blanks at either end. Nothing when no usable file
// name is left (only full stops and removed characters were typed) or the name does not fit
// Windows-1252 in 70 characters.
std::optional<std::string> CleanJobName(const std::string& fromDialog);

// A Save As name: blanks at both ends removed, "Untitled" for nothing, then the forbidden
// characters, leading full stops and edge blanks removed. Nothing when no usable name is left.
std::optional<std::string> CleanSaveAsName(const std::string& typed);

}  // namespace quantora
