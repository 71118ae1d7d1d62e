#include "sqlitekeys.h"

#include <sodium.h>
#include <sqlite3.h>

namespace md::data {

namespace {

constexpr char kSymbols[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kSymbolCount = 36;
// Bytes from 252 = 7 * 36 up are drawn again: taken modulo 36 they would make
// the first four symbols more likely than the others.
constexpr unsigned kUnbiasedLimit = 252;

bool sodiumReady() {
    // sodium_init is safe to call from any thread; 1 means already done.
    static const bool ready = sodium_init() >= 0;
    return ready;
}

void fillSymbols(char* out, int count) {
    unsigned char pool[64];
    unsigned used = sizeof pool;
    for (int i = 0; i < count;) {
        if (used == sizeof pool) {
            randombytes_buf(pool, sizeof pool);
            used = 0;
        }
        const unsigned byte = pool[used++];
        if (byte < kUnbiasedLimit) out[i++] = kSymbols[byte % kSymbolCount];
    }
}

void newId(sqlite3_context* context, int, sqlite3_value**) {
    if (!sodiumReady()) {
        sqlite3_result_error(context, "libsodium could not be initialised", -1);
        return;
    }
    char symbols[32];
    fillSymbols(symbols, 32);
    // 8-4-4-4-12, as newid() is written.
    char text[36];
    int at = 0;
    for (int i = 0; i < 32; ++i) {
        if (i == 8 || i == 12 || i == 16 || i == 20) text[at++] = '-';
        text[at++] = symbols[i];
    }
    sqlite3_result_text(context, text, at, SQLITE_TRANSIENT);
}

}  // namespace

void registerSqliteKeyFunctions(sqlite3* db) {
    sqlite3_create_function_v2(db, "md_newid", 0, SQLITE_UTF8, nullptr, newId, nullptr, nullptr,
                               nullptr);
}

}  // namespace md::data
