// The one order of every sorted list the user sees (groups, jobs, price lists, items, the
// line sort): alphabetical in the user's language, letter case ignored and accented letters
// beside their base letter, with the exact name breaking ties so the order is total.
#pragma once

#include <string>
#include <string_view>

namespace quantora {

// A key for a UTF-8 name (any bytes: invalid ones sort as replacement characters) whose
// byte order is the name's collation order, case ignored. Keys are for sorting many names:
// one key per name, then plain comparisons.
std::string CollationKey(std::string_view utf8);
// The same key added to the end of keys, for a caller that keeps many keys back to back. Safe
// to call from several threads at once.
void AppendCollationKey(std::string_view utf8, std::string& keys);

// Whether name a comes before name b: by collation key, then by the exact bytes.
bool CollatesBefore(std::string_view a, std::string_view b);

// The locale the order follows: the user's collation locale from the environment
// (LC_ALL, LC_COLLATE, LANG), or the root locale for none, "C" or "POSIX".
std::string CollationLocale();

}  // namespace quantora
