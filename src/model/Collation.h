#pragma once
// Names in the working store compare and sort without regard to case,
// umlauts included, as the store of the original program did. Every
// connection registers this collation before its first statement; the
// schema declares it on every name column.
#include <string>
#include <string_view>

#include <QStringView>

struct sqlite3;

namespace lumo {

inline constexpr const char* kNameCollation = "VBTEXT";

// Returns the SQLite result code of the registration.
int registerNameCollation(sqlite3* db);

// The order of the collation on UTF-8 names: negative, 0 or positive.
int compareNames(std::string_view a, std::string_view b);
// The same order on names held as QString, as the store's rows give them.
int compareNames(QStringView a, QStringView b);
// For sorting many names: appends the key of a plain name (ASCII letters,
// digits, "_") to `keys`; the byte order of such keys is compareNames' order
// among plain names. False, and nothing appended, when the name is not
// plain; compareNames then decides.
bool appendPlainNameKey(QStringView name, std::string& keys);
// The same order through the German collator alone, for any names; the
// collation takes a shorter road where both names allow it.
int collateNames(QStringView a, QStringView b);

}  // namespace lumo
