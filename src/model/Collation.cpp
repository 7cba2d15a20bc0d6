#include "model/Collation.h"

#include <array>

#include <QCollator>
#include <QLocale>
#include <QString>
#include <sqlite3.h>

namespace lumo {
namespace {

// Where a character of a plain name (ASCII letters, digits, "_") stands in
// the collator's order once case is set aside: "_" before the digits before
// the letters. 0 for every other byte, which leaves the name to the collator.
constexpr std::array<unsigned char, 256> kPlainRank = [] {
    std::array<unsigned char, 256> r{};
    r['_'] = 1;
    for (int c = '0'; c <= '9'; ++c) r[size_t(c)] = static_cast<unsigned char>(2 + c - '0');
    for (int c = 'a'; c <= 'z'; ++c) {
        r[size_t(c)] = static_cast<unsigned char>(12 + c - 'a');
        r[size_t(c - 'a' + 'A')] = r[size_t(c)];
    }
    return r;
}();

// Nearly every VBA name is plain, and the collator has nothing to add for
// them: no character of such a name is ignorable or joins another, so the
// order is that of the ranks, a name before every longer name it begins,
// and names equal but for case are equal. False when either is not plain.
bool comparePlain(std::string_view a, std::string_view b, int& result) {
    const size_t n = std::min(a.size(), b.size());
    result = 0;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ra = kPlainRank[static_cast<unsigned char>(a[i])];
        const unsigned char rb = kPlainRank[static_cast<unsigned char>(b[i])];
        if (ra == 0 || rb == 0) return false;
        if (ra != rb && result == 0) result = ra < rb ? -1 : 1;
    }
    for (size_t i = n; i < a.size(); ++i)
        if (kPlainRank[static_cast<unsigned char>(a[i])] == 0) return false;
    for (size_t i = n; i < b.size(); ++i)
        if (kPlainRank[static_cast<unsigned char>(b[i])] == 0) return false;
    if (result == 0 && a.size() != b.size()) result = a.size() < b.size() ? -1 : 1;
    return true;
}

int compareUtf8(void*, int lenA, const void* a, int lenB, const void* b) {
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
    if (comparePlain(a, b, result)) return result;
    return collateNames(QString::fromUtf8(a.data(), qsizetype(a.size())),
                        QString::fromUtf8(b.data(), qsizetype(b.size())));
}

int registerNameCollation(sqlite3* db) {
    return sqlite3_create_collation_v2(db, kNameCollation, SQLITE_UTF8, nullptr, compareUtf8, nullptr);
}

}  // namespace lumo
