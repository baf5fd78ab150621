// Mending the names suppliers write with characters no item name may hold ("Pipe 3/4in",
// "Cable 2:1", "Screw M4*20"), so that an import stores them instead of refusing them. Each
// part of the rule can be switched off; what it leaves forbidden is then refused.
#pragma once

#include <string>
#include <string_view>

namespace quantora {

struct MendingRule {
    bool fractions = true;           // 1/2, 1/4 and 3/4 become ½, ¼ and ¾
    bool slashes = true;             // any other / or \ becomes -
    bool starsBetweenDigits = true;  // * between digits becomes x
    bool colons = true;              // : becomes -
    bool dropOthers = true;          // < > ? | and any other * are dropped
};

// True when the name holds a character no item name may hold (/ \ < > ? * : |), blanks at
// either end or in a run, or begins with a full stop: the names mending changes.
bool NeedsMending(std::string_view name);

// The name with the rule applied, then runs of blanks made one, blanks at both ends and
// leading full stops removed. Mending a mended name changes nothing.
std::string MendItemName(std::string_view name, const MendingRule& rule);

// The rule in plain words, one line for each part switched on.
std::string DescribeMendingRule(const MendingRule& rule);

}  // namespace quantora
