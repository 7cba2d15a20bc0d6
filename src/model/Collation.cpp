#include "model/Collation.h"

#include <array>
#include <type_traits>

#include <QCollator>
#include <QLocale>
#include <QString>
#include <sqlite3.h>

#include "base/CaseFold.h"
#include "base/Progress.h"

namespace lumo {
namespace {

// Where a character of a plain name (ASCII letters, digits, "_") stands in
// the collator's order once case is set aside: "_" before the digits before
// the letters. 0 for every other byte, which leaves the name to the collator.
constexpr std::array<unsigned char, 256> kPlainRank = [] {
    std::array<unsigned char, 256> r{};
    r['_'] = 1;
    for (int c = '0'; c <= '9'; ++c) r[size_t(c)] = static_cast<unsigned char>(2 + c - '0');
    for (char16_t c = 0; c < r.size(); ++c) {
        const char16_t lower = asciiLower(c);
        if (lower >= u'a' && lower <= u'z') r[c] = static_cast<unsigned char>(12 + lower - u'a');
    }
    return r;
}();

// Where a code unit of a name stands among the plain characters; 0 for any other.
template <class Unit> unsigned char plainRank(Unit u) {
    const auto code = static_cast<std::make_unsigned_t<Unit>>(u);
    return code < kPlainRank.size() ? kPlainRank[code] : 0;
}

// Nearly every VBA name is plain, and the collator has nothing to add for
// them: no character of such a name is ignorable or joins another, so the
// order is that of the ranks, a name before every longer name it begins,
// and names equal but for case are equal. False when either is not plain.
// Any unit beyond ASCII (a UTF-8 byte of one, a UTF-16 unit) is not plain,
// so that both encodings of a name take the same road.
template <class Unit> bool comparePlain(const Unit* a, size_t sizeA, const Unit* b, size_t sizeB, int& result) {
    const size_t n = std::min(sizeA, sizeB);
    result = 0;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ra = plainRank(a[i]);
        const unsigned char rb = plainRank(b[i]);
        if (ra == 0 || rb == 0) return false;
        if (ra != rb && result == 0) result = ra < rb ? -1 : 1;
    }
    for (size_t i = n; i < sizeA; ++i)
        if (plainRank(a[i]) == 0) return false;
    for (size_t i = n; i < sizeB; ++i)
        if (plainRank(b[i]) == 0) return false;
    if (result == 0 && sizeA != sizeB) result = sizeA < sizeB ? -1 : 1;
    return true;
}

int compareUtf8(void*, int lenA, const void* a, int lenB, const void* b) {
    // Sorting the routines of a large project by name is one long step of a
    // query, without the store's turns in between: it gives them itself.
    static unsigned comparisons = 0;
    if ((++comparisons & 0x3FF) == 0) workTurn();
    return compareNames(std::string_view(static_cast<const char*>(a), size_t(lenA)),
                        std::string_view(static_cast<const char*>(b), size_t(lenB)));
}

}  // namespace

int collateNames(QStringView a, QStringView b) {
    // German collation puts umlauts beside their base letters, as a user
    // reading a module list expects; ties fall back to the folded code units
    // so that equality and order stay consistent.
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::German, QLocale::Germany)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const QString sa = a.toString().toCaseFolded();
    const QString sb = b.toString().toCaseFolded();
    if (sa == sb) return 0;
    const int c = collator.compare(sa, sb);
    if (c != 0) return c;
    return sa < sb ? -1 : 1;
}

int compareNames(std::string_view a, std::string_view b) {
    int result = 0;
    if (comparePlain(a.data(), a.size(), b.data(), b.size(), result)) return result;
    return collateNames(QString::fromUtf8(a.data(), qsizetype(a.size())),
                        QString::fromUtf8(b.data(), qsizetype(b.size())));
}

bool appendPlainNameKey(QStringView name, std::string& keys) {
    const size_t before = keys.size();
    keys.resize(before + size_t(name.size()));
    for (qsizetype i = 0; i < name.size(); ++i) {
        const unsigned char rank = plainRank(name.utf16()[i]);
        if (rank == 0) {
            keys.resize(before);
            return false;
        }
        keys[before + size_t(i)] = char(rank);
    }
    return true;
}

int compareNames(QStringView a, QStringView b) {
    int result = 0;
    if (comparePlain(a.utf16(), size_t(a.size()), b.utf16(), size_t(b.size()), result)) return result;
    return collateNames(a, b);
}

int registerNameCollation(sqlite3* db) {
    return sqlite3_create_collation_v2(db, kNameCollation, SQLITE_UTF8, nullptr, compareUtf8, nullptr);
}

}  // namespace lumo
