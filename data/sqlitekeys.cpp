#include "sqlitekeys.h"

#include <sqlite3.h>

#include <cstdio>

namespace md::data {

namespace {

constexpr unsigned long long kMask24 = 0xFFFFFFull;
constexpr unsigned long long kBlockSize = 1ull << 24;

// Per connection: the block of 2^24 sequence numbers it claimed from the
// database, and how far it has got.
struct KeyState {
    bool claimed = false;
    unsigned long long secret = 0;
    unsigned long long block = 0;
    unsigned long long next = 0;
};

unsigned long long mix(unsigned long long x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdull;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ull;
    x ^= x >> 33;
    return x;
}

unsigned long long randomValue() {
    unsigned long long v = 0;
    sqlite3_randomness(sizeof v, &v);
    return v;
}

enum class Step { Row, Done, Failed };

// Runs one statement with up to one integer argument; *value gets the first
// column of its first row.
Step run(sqlite3* db, const char* sql, sqlite3_int64* value = nullptr, sqlite3_int64 arg = 0) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) return Step::Failed;
    if (sqlite3_bind_parameter_count(stmt) > 0) sqlite3_bind_int64(stmt, 1, arg);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW && value) *value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return rc == SQLITE_ROW ? Step::Row : rc == SQLITE_DONE ? Step::Done : Step::Failed;
}

// Claims the next free block from md_keysource (compare-and-set, so two
// programs on one file never get the same block). Without that table, falls
// back to a random block.
void claimBlock(sqlite3* db, KeyState& state) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        sqlite3_int64 secret = 0;
        sqlite3_int64 block = 0;
        const Step found = run(db, "select secret from md_keysource where id=1", &secret);
        if (found == Step::Failed) break;
        if (found == Step::Done) {
            if (run(db, "insert or ignore into md_keysource(id,secret,nextblock) values(1,?1,1)",
                    nullptr, sqlite3_int64(randomValue() >> 1)) == Step::Failed)
                break;
            continue;
        }
        if (run(db, "select nextblock from md_keysource where id=1", &block) != Step::Row) break;
        if (run(db, "update md_keysource set nextblock=nextblock+1 where id=1 and nextblock=?1",
                nullptr, block) != Step::Done)
            break;
        if (sqlite3_changes(db) == 1) {
            state.secret = (unsigned long long)secret;
            state.block = (unsigned long long)block & kMask24;
            state.next = 0;
            state.claimed = true;
            return;
        }
    }
    state.secret = randomValue();
    state.block = randomValue() & kMask24;
    state.next = 0;
    state.claimed = true;
}

void newId(sqlite3_context* context, int, sqlite3_value**) {
    auto* state = static_cast<KeyState*>(sqlite3_user_data(context));
    if (!state->claimed || state->next >= kBlockSize)
        claimBlock(sqlite3_context_db_handle(context), *state);
    const unsigned long long sequence = (state->block << 24) | state->next++;
    const unsigned long long key = permuteKey48(sequence, state->secret);
    const unsigned long long tail = randomValue();
    char text[48];
    std::snprintf(text, sizeof text, "%08llX-%04llX-%04llX-%04llX-%012llX", key >> 16, key & 0xFFFF,
                  (tail >> 48) & 0xFFFF, (tail >> 32) & 0xFFFF, tail & 0xFFFFFFFFFFFFull);
    sqlite3_result_text(context, text, -1, SQLITE_TRANSIENT);
}

}  // namespace

unsigned long long permuteKey48(unsigned long long value, unsigned long long secret) {
    // Four Feistel rounds over two 24-bit halves: a bijection, so distinct
    // sequence numbers give distinct keys, yet neighbours look unrelated.
    unsigned long long left = (value >> 24) & kMask24;
    unsigned long long right = value & kMask24;
    for (unsigned round = 0; round < 4; ++round) {
        const unsigned long long f =
            mix(right ^ (secret + round * 0x9E3779B97F4A7C15ull)) & kMask24;
        const unsigned long long next = left ^ f;
        left = right;
        right = next;
    }
    return (left << 24) | right;
}

void registerSqliteKeyFunctions(sqlite3* db) {
    sqlite3_create_function_v2(db, "md_newid", 0, SQLITE_UTF8, new KeyState, newId, nullptr,
                               nullptr, [](void* p) { delete static_cast<KeyState*>(p); });
}

}  // namespace md::data
