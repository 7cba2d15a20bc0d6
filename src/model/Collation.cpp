#include "model/Collation.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <sqlite3.h>

#include "base/Progress.h"

namespace lumo {
namespace {

int compareNames(void*, int lenA, const void* a, int lenB, const void* b) {
    // Sorting the routines of a large project by name is one long step of a
    // query, without the store's turns in between: it gives them itself.
    static unsigned comparisons = 0;
    if ((++comparisons & 0x3FF) == 0) workTurn();
    // German collation puts umlauts beside their base letters, as a user
    // reading a module list expects; ties fall back to the folded code units
    // so that equality and order stay consistent.
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::German, QLocale::Germany)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const QString sa = QString::fromUtf8(static_cast<const char*>(a), lenA).toCaseFolded();
    const QString sb = QString::fromUtf8(static_cast<const char*>(b), lenB).toCaseFolded();
    if (sa == sb) return 0;
    const int c = collator.compare(sa, sb);
    if (c != 0) return c;
    return sa < sb ? -1 : 1;
}

}  // namespace

int registerNameCollation(sqlite3* db) {
    return sqlite3_create_collation_v2(db, kNameCollation, SQLITE_UTF8, nullptr, compareNames, nullptr);
}

}  // namespace lumo
