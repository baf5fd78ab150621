#include "store/collation.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "store/code_page.h"

namespace quantora {

namespace {

struct CollatorCloser {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

// Secondary strength: base letters and accents count, letter case does not.
UCollator* Collator() {
    static const std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* opened = ucol_open(CollationLocale().c_str(), &status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            opened = ucol_open("", &status);
        }
        if (opened) ucol_setStrength(opened, UCOL_SECONDARY);
        return std::unique_ptr<UCollator, CollatorCloser>(opened);
    }();
    return collator.get();
}

// The name in UTF-16, as ICU takes it, in a buffer of the thread's own that grows once and is
// then reused for every name.
const std::u16string& ToUtf16(std::string_view utf8) {
    thread_local std::u16string text;
    text.resize(utf8.size() + 1);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    text.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return text;
}

}  // namespace

std::string CollationLocale() {
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') continue;
        std::string locale = value;
        // "de_DE.UTF-8@euro" names the locale de_DE; the encoding and modifier are not ICU's.
        locale = locale.substr(0, locale.find_first_of(".@"));
        // ICU reads "C" as its POSIX locale, which orders capitals before every small letter.
        if (locale == "C" || locale == "POSIX") return "";
        return locale;
    }
    return "";
}

void AppendCollationKey(std::string_view utf8, std::string& keys) {
    UCollator* collator = Collator();
    if (collator == nullptr) {  // no ICU data: case still ignored
        keys += FoldCase(utf8);
        return;
    }
    const std::u16string& text = ToUtf16(utf8);
    std::size_t start = keys.size();
    // Most keys fit in 64 bytes; a longer one is asked for again with the room it needs.
    keys.resize(start + 64);
    auto key = [&] { return reinterpret_cast<uint8_t*>(keys.data() + start); };
    // The collator is only read here, which ICU allows from many threads at once.
    int32_t needed = ucol_getSortKey(collator, reinterpret_cast<const UChar*>(text.data()),
                                     static_cast<int32_t>(text.size()), key(), 64);
    if (needed > 64) {
        keys.resize(start + static_cast<std::size_t>(needed));
        ucol_getSortKey(collator, reinterpret_cast<const UChar*>(text.data()),
                        static_cast<int32_t>(text.size()), key(), needed);
    }
    // The key ends in a zero byte that takes no part in the order.
    keys.resize(start + (needed > 0 ? static_cast<std::size_t>(needed - 1) : 0));
}

std::string CollationKey(std::string_view utf8) {
    std::string key;
    AppendCollationKey(utf8, key);
    return key;
}

bool CollatesBefore(std::string_view a, std::string_view b) {
    int order = CollationKey(a).compare(CollationKey(b));
    return order != 0 ? order < 0 : a < b;
}

}  // namespace quantora
