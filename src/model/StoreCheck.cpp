#include "model/StoreCheck.h"

#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "base/Limits.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

// True when `column` is the table's rowid under another name, as in each
// store this program writes (its INTEGER PRIMARY KEY): its numbers are then
// distinct integers by construction. Any other primary key (one declared
// DESC, or of a table without rowids) has an index of its own.
bool isRowidColumn(WorkingStore& store, const QString& table, const QString& column) {
    auto q = store.query(
        QStringLiteral("SELECT (SELECT count(*) FROM pragma_table_info(?1) WHERE pk > 0) = 1 "
                       "AND (SELECT count(*) FROM pragma_table_info(?1) WHERE pk = 1 AND lower(name) = lower(?2) "
                       "AND upper(type) = 'INTEGER') = 1 "
                       "AND (SELECT count(*) FROM pragma_index_list(?1) WHERE origin = 'pk') = 0"),
        {SqlValue(std::in_place_type<QString>, table), SqlValue(std::in_place_type<QString>, column)});
    return q.next() && q.integer(0) == 1;
}

// Distinct integers from 1 on: each row is (count, distinct count, min, max,
// non-integers). A rowid column needs no sorting count nor a look at each
// number, and each aggregate alone is answered from the table's tree without
// reading its rows. Modules are numbered 1..count without gaps, as the
// window finds a module by its number; routine numbers may have gaps (builds
// before drew a number for a head they then skipped), up to maxNumber.
// `rowCount` receives the table's rows when they are numbered right.
QString numberingDamage(WorkingStore& store, const QString& table, const QString& column, qint64 maxCount,
                        bool gapsAllowed, qint64* rowCount = nullptr) {
    const QString sql = isRowidColumn(store, table, column)
                            ? QStringLiteral("SELECT (SELECT count(*) FROM %1), (SELECT count(*) FROM %1), "
                                             "(SELECT min(%2) FROM %1), (SELECT max(%2) FROM %1), 0")
                            : QStringLiteral("SELECT count(*), count(DISTINCT %2), min(%2), max(%2), "
                                             "total(typeof(%2) <> 'integer') FROM %1");
    auto q = store.query(sql.arg(table, column));
    if (!q.next()) return QStringLiteral("die Tabelle %1 lässt sich nicht lesen").arg(table);
    const qint64 count = q.integer(0);
    if (count > maxCount)
        return QStringLiteral("die Tabelle %1 hat %2 Zeilen, höchstens %3 sind möglich").arg(table).arg(count).arg(maxCount);
    const bool distinctIntegers = q.integer(1) == count && q.integer(2) >= 1 && q.integer(4) == 0;
    if (count > 0 && gapsAllowed && (!distinctIntegers || q.integer(3) > maxCount))
        return QStringLiteral("die Nummern %1 der Tabelle %2 sind nicht eindeutig oder liegen nicht zwischen 1 und %3")
            .arg(column, table)
            .arg(maxCount);
    if (count > 0 && !gapsAllowed && (!distinctIntegers || q.integer(2) != 1 || q.integer(3) != count))
        return QStringLiteral("die Nummern %1 der Tabelle %2 laufen nicht lückenlos von 1 bis %3")
            .arg(column, table)
            .arg(count);
    if (rowCount) *rowCount = count;
    return {};
}

// The first routine whose module is missing or whose lines do not lie
// within its module's: the store's own word on it, its number for the message.
std::optional<qint64> routineOutsideItsModule(WorkingStore& store) {
    // rou_ende is NULL for a routine without an End line.
    auto q = store.query(QStringLiteral(
        "SELECT r.rou_num FROM td_rout r LEFT JOIN td_mod m ON r.mod_num = m.mod_num "
        "WHERE m.mod_num IS NULL OR typeof(r.rou_start) <> 'integer' OR r.rou_start < 1 "
        "OR r.rou_start > m.mod_zeilen OR typeof(r.anz_dec_zeilen) <> 'integer' OR r.anz_dec_zeilen < 1 "
        "OR (r.rou_ende IS NOT NULL AND (typeof(r.rou_ende) <> 'integer' OR r.rou_ende < r.rou_start "
        "OR r.rou_ende > m.mod_zeilen)) LIMIT 1"));
    if (!q.next()) return std::nullopt;
    return q.integer(0);
}

struct TextFiles {
    int notRegular = 0;  // the first module whose text is missing or no regular file; 0: none
    bool tooLarge = false;
};

// The module texts 1 to `modules` in `folder`, as storeDamage asks for them;
// only file records, never the store, so that it runs on a thread of its own.
TextFiles checkTextFiles(const QByteArray& folder, int modules, TextCheck texts) {
    // Each record asked from the folder itself: the path to it is walked once.
    struct Folder {
        int fd;
        ~Folder() {
            if (fd >= 0) ::close(fd);
        }
    } dir{::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    // OwnRegularFiles: one look at the entry itself, a link is refused, not followed.
    const int flags = texts == TextCheck::OwnRegularFiles ? AT_SYMLINK_NOFOLLOW : 0;
    qint64 total = 0;
    for (int n = 1; n <= modules; ++n) {
        QByteArray name = QFile::encodeName(WorkingStore::moduleTextName(n));
        if (dir.fd < 0) name.prepend(folder);
        struct stat entry {};
        const bool regular = ::fstatat(dir.fd >= 0 ? dir.fd : AT_FDCWD, name.constData(), &entry, flags) == 0 &&
                             S_ISREG(entry.st_mode);
        if (texts == TextCheck::OwnRegularFiles && !regular) return {n, false};
        // Sizes: a module text that is missing or no regular file is refused
        // by its reader (readModuleText), which names it; the others go on.
        if (regular) total += entry.st_size;
        if (total > kMaxStoredText) return {0, true};
    }
    return {};
}

}  // namespace

QString storeDamage(WorkingStore& store, ProjectRows* rows, TextCheck texts) {
    {
        // Before anything reads them: a view could be recursive and never end.
        auto q = store.query(QStringLiteral("SELECT lower(name), type FROM sqlite_master "
                                            "WHERE lower(name) IN ('td_mod', 'td_rout')"));
        int tables = 0;
        while (q.next()) {
            if (q.text(1) != QLatin1String("table"))
                return QStringLiteral("%1 ist keine Tabelle, sondern ein Objekt der Art »%2«").arg(q.text(0), q.text(1));
            ++tables;
        }
        if (tables != 2) return QStringLiteral("die Tabellen td_mod und td_rout fehlen");
    }
    if (QString d = numberingDamage(store, QStringLiteral("td_mod"), QStringLiteral("mod_num"), kMaxModules, false);
        !d.isEmpty())
        return d;
    qint64 routines = 0;
    if (QString d = numberingDamage(store, QStringLiteral("td_rout"), QStringLiteral("rou_num"), kMaxRoutineNumber, true, &routines);
        !d.isEmpty())
        return d;
    // The module texts' records are asked beside the rows' check (a
    // thousand of them cost about as much as reading the rows); what they
    // tell is reported after it, as when they were asked after the rows.
    // Where no thread can be had, they are asked when the answer is wanted.
    std::future<TextFiles> textFiles = std::async(std::launch::async | std::launch::deferred, checkTextFiles,
                                                  QFile::encodeName(store.moduleTextFolder()), moduleCount(store), texts);
    {
        auto q = store.query(QStringLiteral("SELECT count(*) FROM td_mod WHERE typeof(mod_zeilen) <> 'integer' "
                                            "OR mod_zeilen < 0 OR mod_zeilen > 2147483647"));
        if (q.next() && q.integer(0) > 0) return QStringLiteral("die Zeilenzahl eines Moduls ist ungültig");
    }
    // The routines are read in the table's own order and checked on the way;
    // only a doubt (a value of another kind, a line outside its module, a
    // table not as a build makes it) asks the store, which names the routine.
    std::vector<ModuleRow> moduleRows;
    std::vector<qint64> moduleLines;
    if (rows) {
        std::optional<std::vector<ModuleRow>> sorted = modulesSortedHere(store);
        moduleRows = sorted ? std::move(*sorted) : modulesByTypeAndName(store);
        for (const ModuleRow& m : moduleRows) {
            if (m.number >= int(moduleLines.size())) moduleLines.resize(size_t(m.number) + 1);
            if (m.number > 0) moduleLines[size_t(m.number)] = m.lines;
        }
    } else {
        auto q = store.query(QStringLiteral("SELECT mod_num, mod_zeilen FROM td_mod"));
        while (q.next()) {
            const qint64 number = q.integer(0);
            if (number < 1 || number > kMaxModules) continue;  // numbered 1, 2, ... as checked above
            if (number >= qint64(moduleLines.size())) moduleLines.resize(size_t(number) + 1);
            moduleLines[size_t(number)] = q.integer(1);
        }
    }
    if (moduleLines.empty()) moduleLines.resize(1);  // no module: no routine fits
    RoutineScan scan;
    bool checked = routineTableAsBuilt(store);
    if (checked) {
        try {
            scan = scanRoutines(store, rows != nullptr, moduleLines, routines);
            checked = scan.linesFit;
        } catch (const StoreError&) {
            checked = false;  // the store's own query tells why
        }
    }
    if (!checked) {
        if (const auto routine = routineOutsideItsModule(store))
            return QStringLiteral("die Routine Nummer %1 gehört zu keinem Modul oder ihre Zeilen liegen nicht im Modul")
                .arg(*routine);
    }
    const TextFiles files = textFiles.get();
    if (files.notRegular > 0)
        return QStringLiteral("der Modultext %1 fehlt oder ist keine gewöhnliche Datei").arg(store.moduleTextPath(files.notRegular));
    if (files.tooLarge)
        return QStringLiteral("die Modultexte sind zusammen größer als %1 MB").arg(kMaxStoredText / (1024 * 1024));
    if (rows) {
        rows->modules = std::move(moduleRows);
        if (checked && scan.sortable) {
            // Each module's routines are put in name order when they are needed.
            groupByModule(scan.rows);
            rows->routines = std::move(scan.rows);
            rows->namesSorted = false;
        } else {
            rows->routines = routinesByModuleAndName(store);
            rows->namesSorted = true;
        }
    }
    return {};
}

}  // namespace lumo
