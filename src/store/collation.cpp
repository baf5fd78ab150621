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

std::u16string ToUtf16(std::string_view utf8) {
    std::u16string text(utf8.size() + 1, u'\0');
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

std::string CollationKey(std::string_view utf8) {
    std::u16string text = ToUtf16(utf8);
    UCollator* collator = Collator();
    if (collator == nullptr) return FoldCase(utf8);  // no ICU data: case still ignored
    std::string key(64, '\0');
    auto* out = reinterpret_cast<uint8_t*>(key.data());
    int32_t needed =
        ucol_getSortKey(collator, reinterpret_cast<const UChar*>(text.data()),
                        static_cast<int32_t>(text.size()), out, static_cast<int32_t>(key.size()));
    if (needed > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(needed));
        ucol_getSortKey(collator, reinterpret_cast<const UChar*>(text.data()),
                        static_cast<int32_t>(text.size()), reinterpret_cast<uint8_t*>(key.data()),
                        needed);
    }
    // The key ends in a zero byte that takes no part in the order.
    key.resize(needed > 0 ? static_cast<std::size_t>(needed - 1) : 0);
    return key;
}

bool CollatesBefore(std::string_view a, std::string_view b) {
    int order = CollationKey(a).compare(CollationKey(b));
    return order != 0 ? order < 0 : a < b;
}

}  // namespace quantora
