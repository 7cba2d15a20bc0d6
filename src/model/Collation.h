#pragma once
// Names in the working store compare and sort without regard to case,
// umlauts included, as the store of the original program did. Every
// connection registers this collation before its first statement; the
// schema declares it on every name column.
struct sqlite3;

namespace lumo {

inline constexpr const char* kNameCollation = "VBTEXT";

// Returns the SQLite result code of the registration.
int registerNameCollation(sqlite3* db);

}  // namespace lumo
