// Names on disk: the Windows-1252 code page of every fixed-width name field, and the one
// case folding by which the program compares names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quantora {

// Decodes Windows-1252 bytes to UTF-8. Every byte has a character (the five bytes the
// code page leaves unassigned map to the C1 controls of the same value), so decoding never
// fails and EncodeCp1252 gives the same bytes back.
std::string DecodeCp1252(std::string_view bytes);

// Encodes UTF-8 text to Windows-1252; nothing when the text is not valid UTF-8 or holds a
// character the code page cannot hold.
std::optional<std::string> EncodeCp1252(std::string_view utf8);

// True when the character has a Windows-1252 byte.
bool CodePointFitsCp1252(char32_t cp);

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool FitsCp1252(std::string_view utf8);

// The text with letters folded to lower case, still in UTF-8: ASCII and the Latin letters of
// Windows-1252. Invalid UTF-8 bytes are kept as they are, so any file name can be folded.
// Every letter and its folded form take the same number of bytes, and comparing folded
// texts byte by byte orders them by character, as UTF-8 is made to.
std::string FoldCase(std::string_view utf8);

// Decodes UTF-8 to code points; an invalid byte becomes a code point of its own above the
// Unicode range, so distinct byte strings stay distinct.
std::u32string DecodeUtf8Lenient(std::string_view utf8);

}  // namespace quantora
