#include "tsql/sqlitecollation.h"

#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <algorithm>

namespace md::sql {

namespace {

// PostgreSQL's md_ci is made from the same language tag (pgruntime.cpp); both
// read it through the system's ICU, so both backends order alike.
UCollator* openCollator() {
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_forLanguageTag("zh-u-kr-latn-hani-ks-level2", locale, sizeof locale, nullptr, &status);
    if (U_FAILURE(status)) return nullptr;
    UCollator* collator = ucol_open(locale, &status);
    if (U_FAILURE(status)) return nullptr;
    // The tag's strength, stated again: only base letters and accents count.
    ucol_setStrength(collator, UCOL_SECONDARY);
    return collator;
}

// One collator for the process: comparing does not change it, so every
// connection and thread may use it at once.
const UCollator* collator() {
    static UCollator* const shared = openCollator();
    return shared;
}

bool asciiLettersAndDigits(const char* text, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    }
    return true;
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

int collate(void*, int aBytes, const void* a, int bBytes, const void* b) {
    return compareText(static_cast<const char*>(a), aBytes, static_cast<const char*>(b), bBytes);
}

}  // namespace

int compareText(const char* a, int aBytes, const char* b, int bBytes) {
    while (aBytes > 0 && a[aBytes - 1] == ' ') --aBytes;
    while (bBytes > 0 && b[bBytes - 1] == ' ') --bBytes;
    // The same bytes are the same text, whatever the collation.
    if (aBytes == bBytes && std::char_traits<char>::compare(a, b, std::size_t(aBytes)) == 0)
        return 0;
    // Codes and numbers, most of what is compared: letters and digits alone
    // order as the collator orders them (digits first, case ignored), without it.
    if (asciiLettersAndDigits(a, aBytes) && asciiLettersAndDigits(b, bBytes)) {
        const int common = std::min(aBytes, bBytes);
        for (int i = 0; i < common; ++i) {
            const char x = lower(a[i]), y = lower(b[i]);
            if (x != y) return x < y ? -1 : 1;
        }
        return aBytes == bBytes ? 0 : aBytes < bBytes ? -1 : 1;
    }
    return compareTextByCollator(a, aBytes, b, bBytes);
}

int compareTextByCollator(const char* a, int aBytes, const char* b, int bBytes) {
    while (aBytes > 0 && a[aBytes - 1] == ' ') --aBytes;
    while (bBytes > 0 && b[bBytes - 1] == ' ') --bBytes;
    UErrorCode status = U_ZERO_ERROR;
    if (const UCollator* c = collator()) {
        const UCollationResult order = ucol_strcollUTF8(c, a, aBytes, b, bBytes, &status);
        if (U_SUCCESS(status)) return int(order);
    }
    // Without ICU's data the bytes decide, still a total order.
    const int common = std::min(aBytes, bBytes);
    const int order = common > 0 ? std::char_traits<char>::compare(a, b, std::size_t(common)) : 0;
    return order != 0 ? order : aBytes - bBytes;
}

void registerTextCollation(sqlite3* db) {
    sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, collate, nullptr);
}

}  // namespace md::sql
