#include "model/CodeDatabase.h"

#include <algorithm>
#include <climits>
#include <future>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "base/Limits.h"
#include "base/Progress.h"
#include "model/Collation.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

const QString kRoutineColumns =
    QStringLiteral("rou_num, mod_num, rou_name, rou_typ, rou_open, anz_dec_zeilen, rou_start, rou_ende");

// A field's position in the SELECT list, looked up once per statement
// rather than by name on every row.
int column(const Query& q, const char* name) {
    const int i = q.columnIndex(name);
    if (i < 0) throw StoreError(std::string("Feld ") + name + " gibt es nicht");
    return i;
}

struct RoutineColumns {
    explicit RoutineColumns(const Query& q)
        : number(column(q, "rou_num")), module(column(q, "mod_num")), name(column(q, "rou_name")),
          type(column(q, "rou_typ")), visibility(column(q, "rou_open")), headLines(column(q, "anz_dec_zeilen")),
          start(column(q, "rou_start")), end(column(q, "rou_ende")) {}
    int number, module, name, type, visibility, headLines, start, end;
};

RoutineRow routineFrom(const Query& q, const RoutineColumns& c) {
    RoutineRow r;
    r.number = qint32(q.integer(c.number));
    r.module = int(q.integer(c.module));
    r.name = q.text(c.name);
    r.type = int(q.integer(c.type));
    r.visibility = int(q.integer(c.visibility));
    r.headLines = int(q.integer(c.headLines));
    r.start = q.isNull(c.start) ? 0 : int(q.integer(c.start));
    r.end = q.isNull(c.end) ? 0 : int(q.integer(c.end));
    return r;
}

struct ModuleColumns {
    explicit ModuleColumns(const Query& q)
        : number(column(q, "mod_num")), name(column(q, "mod_name")), type(column(q, "mod_typ")),
          lines(column(q, "mod_zeilen")) {}
    int number, name, type, lines;
};

ModuleRow moduleFrom(const Query& q, const ModuleColumns& c) {
    ModuleRow m;
    m.number = int(q.integer(c.number));
    m.name = q.text(c.name);
    m.type = int(q.integer(c.type));
    m.lines = q.isNull(c.lines) ? 0 : int(q.integer(c.lines));
    return m;
}

std::vector<ModuleRow> modules(WorkingStore& store, const QString& sql, const SqlParams& params = {}) {
    auto q = store.query(sql, params);
    const ModuleColumns c(q);
    std::vector<ModuleRow> out;
    while (q.next()) out.push_back(moduleFrom(q, c));
    return out;
}

std::vector<RoutineRow> routines(WorkingStore& store, const QString& where, const SqlParams& params) {
    auto q = store.query(QStringLiteral("SELECT ") + kRoutineColumns + QStringLiteral(" FROM td_rout ") + where,
                         params);
    const RoutineColumns c(q);
    std::vector<RoutineRow> out;
    while (q.next()) out.push_back(routineFrom(q, c));
    return out;
}

std::optional<RoutineRow> firstRoutine(WorkingStore& store, const QString& where, const SqlParams& params) {
    auto q = store.query(QStringLiteral("SELECT ") + kRoutineColumns + QStringLiteral(" FROM td_rout ") + where,
                         params);
    if (!q.next()) return std::nullopt;
    return routineFrom(q, RoutineColumns(q));
}

SqlValue lineValue(int line) {
    // An unknown line stays NULL.
    if (line > 0) return SqlValue(std::in_place_type<qint64>, line);
    return SqlValue(std::in_place_type<std::monostate>);
}

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

// Numbers 1..count without gaps and all of them integers: each row is
// (count, distinct count, min, max, non-integers). A rowid column needs no
// sorting count nor a look at each number, and each aggregate alone is
// answered from the table's tree without reading its rows.
// `rowCount` receives the table's rows when they are numbered right.
QString numberingDamage(WorkingStore& store, const QString& table, const QString& column, qint64 maxCount,
                        qint64* rowCount = nullptr) {
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
    if (count > 0 && (q.integer(1) != count || q.integer(2) != 1 || q.integer(3) != count || q.integer(4) != 0))
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

// Blanks and case aside, as sqlite_master keeps a statement however it was written.
QString folded(const QString& statement) {
    QString out;
    out.reserve(statement.size());
    for (const QChar c : statement)
        if (!c.isSpace()) out += c.toLower();
    return out;
}

// td_rout read in the table's own order (no index: rowid order), with what
// the sort and the check need to know of the values' kinds, which a
// RoutineRow no longer tells.
struct RoutineScan {
    std::vector<RoutineRow> rows;  // only when the names were read
    // Module numbers are integers, names texts, first lines integers from 1
    // or NULL (which the index puts first, as 0 sorts here).
    bool sortable = true;
    // Every routine belongs to a module of moduleLines and its lines lie
    // within the module's, by the same rules as routineOutsideItsModule.
    bool linesFit = true;
};

// moduleLines[m]: the lines of module m (index 0 unused); empty: the lines are not checked.
// routines: the rows the table holds, when known, so that they are kept without moving.
RoutineScan scanRoutines(WorkingStore& store, bool withNames, const std::vector<qint64>& moduleLines,
                         qint64 routines = 0) {
    auto q = store.query(withNames ? QStringLiteral("SELECT rou_num, mod_num, rou_start, anz_dec_zeilen, rou_ende, "
                                                    "rou_name, rou_typ, rou_open FROM td_rout NOT INDEXED")
                                   : QStringLiteral("SELECT rou_num, mod_num, rou_start, anz_dec_zeilen, rou_ende "
                                                    "FROM td_rout NOT INDEXED"));
    RoutineScan scan;
    if (withNames) scan.rows.reserve(size_t(routines));
    const bool checkLines = !moduleLines.empty();
    const auto within = [](qint64 v, qint64 low, qint64 high) { return v >= low && v <= high; };
    while (q.next()) {
        Query::Kind moduleKind, startKind, headKind, endKind;
        const qint64 module = q.integer(1, moduleKind), start = q.integer(2, startKind);
        const qint64 head = q.integer(3, headKind), end = q.integer(4, endKind);
        if (withNames) {
            scan.sortable = scan.sortable && moduleKind == Query::Integer && within(module, INT_MIN, INT_MAX) &&
                            q.kind(5) == Query::Text &&
                            (startKind == Query::Null || (startKind == Query::Integer && within(start, 1, INT_MAX)));
            RoutineRow r;
            r.number = qint32(q.integer(0));
            r.module = int(module);
            r.start = startKind == Query::Null ? 0 : int(start);
            r.headLines = int(head);
            r.end = endKind == Query::Null ? 0 : int(end);
            r.name = q.text(5);
            r.type = int(q.integer(6));
            r.visibility = int(q.integer(7));
            scan.rows.push_back(std::move(r));
        }
        if (checkLines && scan.linesFit) {
            const bool inModule = moduleKind == Query::Integer && within(module, 1, qint64(moduleLines.size()) - 1);
            const qint64 lines = inModule ? moduleLines[size_t(module)] : 0;
            scan.linesFit = inModule && startKind == Query::Integer && within(start, 1, lines) &&
                            headKind == Query::Integer && head >= 1 &&
                            (endKind == Query::Null || (endKind == Query::Integer && within(end, start, lines)));
        }
    }
    return scan;
}

// By module, each module's rows in the order they had (a build numbers its
// routines module by module: the rows mostly come so already).
void groupByModule(std::vector<RoutineRow>& rows) {
    const auto byModule = [](const RoutineRow& a, const RoutineRow& b) { return a.module < b.module; };
    if (!std::is_sorted(rows.begin(), rows.end(), byModule)) std::stable_sort(rows.begin(), rows.end(), byModule);
}

// By module, then name, as routinesByModuleAndName gives them.
void sortByModuleAndName(std::vector<RoutineRow>& rows) {
    groupByModule(rows);
    for (size_t first = 0; first < rows.size();) {
        size_t last = first + 1;
        while (last < rows.size() && rows[last].module == rows[first].module) ++last;
        sortModuleRoutines(rows, first, last);
        first = last;
    }
}

// td_mod in the order of modulesByTypeAndName, sorted here rather than by
// the store, whose sort asks the name collation many thousand times. Only
// where the order is certain: every type an integer, every name a text, and
// no two names of one type alike (the store leaves the order of such a pair
// open); nullopt otherwise, and the store sorts.
std::optional<std::vector<ModuleRow>> modulesSortedHere(WorkingStore& store) {
    auto q = store.query(QStringLiteral("SELECT mod_num, mod_name, mod_typ, mod_zeilen FROM td_mod"));
    const ModuleColumns c(q);
    std::vector<ModuleRow> rows;
    while (q.next()) {
        if (q.kind(c.name) != Query::Text) return std::nullopt;
        Query::Kind kind;
        const qint64 type = q.integer(c.type, kind);
        if (kind != Query::Integer || type < INT_MIN || type > INT_MAX) return std::nullopt;
        rows.push_back(moduleFrom(q, c));
    }
    std::string keys;
    std::vector<std::pair<size_t, size_t>> plain(rows.size(), {0, std::string::npos});  // at, size in keys
    for (size_t i = 0; i < rows.size(); ++i) {
        const size_t at = keys.size();
        if (appendPlainNameKey(rows[i].name, keys)) plain[i] = {at, keys.size() - at};
    }
    const auto compare = [&](size_t a, size_t b) {
        if (rows[a].type != rows[b].type) return rows[a].type < rows[b].type ? -1 : 1;
        if (plain[a].second != std::string::npos && plain[b].second != std::string::npos)
            return std::string_view(keys).substr(plain[a].first, plain[a].second)
                .compare(std::string_view(keys).substr(plain[b].first, plain[b].second));
        return compareNames(rows[a].name, rows[b].name);
    };
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return compare(a, b) < 0; });
    for (size_t i = 1; i < order.size(); ++i)
        if (compare(order[i - 1], order[i]) == 0) return std::nullopt;
    std::vector<ModuleRow> sorted;
    sorted.reserve(rows.size());
    for (const size_t i : order) sorted.push_back(std::move(rows[i]));
    return sorted;
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

// Routines of one name (a Property's Get and Let) by first line, then in the
// table's order: the order the store's index on (mod_num, rou_start) hands
// them to its ORDER BY, whose sort keeps it.
void sortModuleRoutines(std::vector<RoutineRow>& rows, size_t first, size_t last) {
    if (last > rows.size() || first >= last || last - first < 2) return;
    // Positions are sorted, not the rows (a row is dear to move), and each
    // plain name is folded once, not at every comparison, into one buffer.
    struct Entry {
        size_t at = 0;
        size_t size = 0;
        bool plain = false;
    };
    const size_t count = last - first;
    std::string keys;
    size_t letters = 0;
    for (size_t i = first; i < last; ++i) letters += size_t(rows[i].name.size());
    keys.reserve(letters);
    std::vector<Entry> entries(count);
    std::vector<int> order(count);
    for (size_t i = 0; i < count; ++i) {
        entries[i].at = keys.size();
        entries[i].plain = appendPlainNameKey(rows[first + i].name, keys);
        entries[i].size = keys.size() - entries[i].at;
        order[i] = int(i);
    }
    const auto key = [&keys](const Entry& e) { return std::string_view(keys).substr(e.at, e.size); };
    static unsigned comparisons = 0;
    const auto byName = [&](int left, int right) {
        // A module of many thousand routines: the window's events get their turns.
        if ((++comparisons & 0x3FF) == 0) workTurn();
        const Entry& ea = entries[size_t(left)];
        const Entry& eb = entries[size_t(right)];
        const RoutineRow& a = rows[first + size_t(left)];
        const RoutineRow& b = rows[first + size_t(right)];
        const int c = ea.plain && eb.plain ? key(ea).compare(key(eb)) : compareNames(a.name, b.name);
        if (c != 0) return c < 0;
        return a.start < b.start;
    };
    std::stable_sort(order.begin(), order.end(), byName);
    std::vector<RoutineRow> sorted;
    sorted.reserve(count);
    for (const int i : order) sorted.push_back(std::move(rows[first + size_t(i)]));
    std::move(sorted.begin(), sorted.end(), rows.begin() + std::ptrdiff_t(first));
}

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
    if (QString d = numberingDamage(store, QStringLiteral("td_mod"), QStringLiteral("mod_num"), kMaxModules); !d.isEmpty())
        return d;
    qint64 routines = 0;
    if (QString d = numberingDamage(store, QStringLiteral("td_rout"), QStringLiteral("rou_num"), kMaxRoutineNumber, &routines);
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

bool routineTableAsBuilt(WorkingStore& store) {
    static const QString table = folded(QStringLiteral(
        "CREATE TABLE td_rout (rou_num INTEGER NOT NULL PRIMARY KEY, mod_num INTEGER, rou_name TEXT COLLATE VBTEXT, "
        "rou_typ INTEGER, rou_open INTEGER, anz_dec_zeilen INTEGER, rou_start INTEGER, rou_ende INTEGER)"));
    static const QString index = folded(QStringLiteral("CREATE INDEX td_rout_mod ON td_rout (mod_num, rou_start)"));
    auto q = store.query(
        QStringLiteral("SELECT type, sql FROM sqlite_master WHERE lower(tbl_name) = 'td_rout' AND type IN ('table', 'index')"));
    int tables = 0, indexes = 0;
    while (q.next()) {
        const QString sql = folded(q.text(1));
        if (q.text(0) == QLatin1String("table")) tables += sql == table ? 1 : 2;
        else indexes += sql == index ? 1 : 2;
    }
    return tables == 1 && indexes == 1;
}

void insertModule(WorkingStore& store, const ModuleRow& module, const std::vector<RoutineRow>& rows) {
    // Many rows per statement: a module of some thousand routines would
    // otherwise spend most of its time preparing statements.
    constexpr size_t kRowsPerStatement = 64;
    for (size_t first = 0; first < rows.size(); first += kRowsPerStatement) {
        const size_t last = std::min(rows.size(), first + kRowsPerStatement);
        QString sql = QStringLiteral("INSERT INTO td_rout (") + kRoutineColumns + QStringLiteral(") VALUES ");
        SqlParams params;
        params.reserve((last - first) * 8);
        for (size_t k = first; k < last; ++k) {
            const RoutineRow& r = rows[k];
            sql += k == first ? QStringLiteral("(?,?,?,?,?,?,?,?)") : QStringLiteral(",(?,?,?,?,?,?,?,?)");
            params.push_back(qint64(r.number));
            params.push_back(qint64(module.number));
            params.emplace_back(std::in_place_type<QString>, r.name);
            params.push_back(qint64(r.type));
            params.push_back(qint64(r.visibility));
            params.push_back(qint64(r.headLines));
            params.push_back(lineValue(r.start));
            params.push_back(lineValue(r.end));
        }
        store.execute(sql, params);
    }
    store.execute(QStringLiteral("INSERT INTO td_mod (mod_num, mod_name, mod_typ, mod_zeilen) VALUES (?,?,?,?)"),
                  {qint64(module.number), module.name, qint64(module.type), qint64(module.lines)});
}

std::vector<ModuleRow> modulesByTypeAndName(WorkingStore& store) {
    return modules(store,
                   QStringLiteral("SELECT mod_num, mod_name, mod_typ, mod_zeilen FROM td_mod ORDER BY mod_typ, mod_name"));
}

std::optional<ModuleRow> moduleByNumber(WorkingStore& store, int moduleNumber) {
    auto q = store.query(QStringLiteral("SELECT mod_num, mod_name, mod_typ, mod_zeilen FROM td_mod WHERE mod_num = ?"),
                         {qint64(moduleNumber)});
    if (!q.next()) return std::nullopt;
    return moduleFrom(q, ModuleColumns(q));
}

std::vector<ModuleRow> modulesByNumber(WorkingStore& store) {
    return modules(store, QStringLiteral("SELECT mod_num, mod_name, mod_typ, mod_zeilen FROM td_mod ORDER BY mod_num"));
}

int moduleCount(WorkingStore& store) {
    auto q = store.query(QStringLiteral("SELECT count(*) FROM td_mod"));
    return q.next() ? int(q.integer(0)) : 0;
}

std::vector<RoutineRow> routinesByModuleAndName(WorkingStore& store) {
    // Sorting in memory spares the store its sort through the name collation,
    // most of the time of reading a large project.
    if (routineTableAsBuilt(store)) {
        RoutineScan scan = scanRoutines(store, true, {});
        if (scan.sortable) {
            sortByModuleAndName(scan.rows);
            return std::move(scan.rows);
        }
    }
    return routines(store, QStringLiteral("ORDER BY mod_num, rou_name"), {});
}

std::vector<RoutineRow> routinesOfModule(WorkingStore& store, int moduleNumber) {
    return routines(store, QStringLiteral("WHERE mod_num = ? ORDER BY rou_num"), {qint64(moduleNumber)});
}

namespace {
std::vector<RoutineRow> routinesByStart(WorkingStore& store, const QString& where, const SqlParams& params) {
    // Columns by position: a search over a whole project reads every routine.
    auto q = store.query(QStringLiteral("SELECT rou_num, mod_num, rou_name, rou_typ, rou_open, rou_start, rou_ende "
                                        "FROM td_rout WHERE ") +
                             where + QStringLiteral(" ORDER BY mod_num, rou_start, rou_num"),
                         params);
    std::vector<RoutineRow> out;
    while (q.next()) {
        RoutineRow r;
        r.number = qint32(q.integer(0));
        r.module = int(q.integer(1));
        r.name = q.text(2);
        r.type = int(q.integer(3));
        r.visibility = int(q.integer(4));
        r.start = int(q.integer(5));  // NULL reads as 0, as everywhere here
        r.end = int(q.integer(6));
        out.push_back(std::move(r));
    }
    return out;
}
}  // namespace

std::vector<RoutineRow> routinesOfModulesByStart(WorkingStore& store, int firstModule, int lastModule) {
    return routinesByStart(store, QStringLiteral("mod_num BETWEEN ? AND ?"), {qint64(firstModule), qint64(lastModule)});
}

std::vector<RoutineRow> routinesOfModulesByStart(WorkingStore& store, const std::vector<int>& moduleNumbers) {
    if (moduleNumbers.empty()) return {};
    // The numbers go into the statement itself: they are integers, and one
    // statement for all of them is what keeps this cheap.
    QString list;
    list.reserve(qsizetype(moduleNumbers.size()) * 6);
    for (const int m : moduleNumbers) {
        if (!list.isEmpty()) list += u',';
        list += QString::number(m);
    }
    return routinesByStart(store, QStringLiteral("mod_num IN (") + list + u')', {});
}

std::optional<RoutineRow> routineByNumber(WorkingStore& store, int routineNumber) {
    return firstRoutine(store, QStringLiteral("WHERE rou_num = ?"), {qint64(routineNumber)});
}

std::optional<RoutineRow> routineCoveringLine(WorkingStore& store, int moduleNumber, int line) {
    return firstRoutine(store, QStringLiteral("WHERE rou_start <= ? AND rou_ende >= ? AND mod_num = ?"),
                        {qint64(line), qint64(line), qint64(moduleNumber)});
}

std::optional<RoutineRow> routineByNameInModule(WorkingStore& store, const QString& name, int moduleNumber) {
    return firstRoutine(store, QStringLiteral("WHERE rou_name = ? AND mod_num = ?"), {name, qint64(moduleNumber)});
}

std::vector<RoutineInModule> publicRoutinesByName(WorkingStore& store, const QString& name) {
    auto q = store.query(QStringLiteral("SELECT td_rout.rou_num AS rou_num, td_rout.mod_num AS mod_num, rou_name, "
                                        "rou_typ, rou_open, anz_dec_zeilen, rou_start, rou_ende, mod_name "
                                        "FROM td_rout INNER JOIN td_mod ON td_rout.mod_num = td_mod.mod_num "
                                        "WHERE rou_name = ? AND rou_open <> ?"),
                         {name, qint64(OpenPrivate)});
    const RoutineColumns c(q);
    const int moduleName = column(q, "mod_name");
    std::vector<RoutineInModule> out;
    while (q.next()) out.push_back({routineFrom(q, c), q.text(moduleName)});
    return out;
}

std::vector<RoutineRow> routinesNamed(WorkingStore& store, const QString& name) {
    return routines(store, QStringLiteral("WHERE rou_name = ? ORDER BY mod_num, rou_start, rou_num"), {name});
}

std::vector<ModuleLine> firstProcedureLines(WorkingStore& store) {
    auto q = store.query(QStringLiteral("SELECT mod_num, MIN(rou_start) FROM td_rout "
                                        "WHERE rou_typ < ? AND rou_start IS NOT NULL GROUP BY mod_num ORDER BY mod_num"),
                         {qint64(kDeclarationOffset)});
    std::vector<ModuleLine> out;
    while (q.next()) out.push_back({int(q.integer(0)), int(q.integer(1))});
    return out;
}

std::optional<int> declarationsEnd(WorkingStore& store, int moduleNumber) {
    auto q = store.query(QStringLiteral("SELECT MIN(rou_start) - 1 AS Letzte FROM td_rout WHERE mod_num = ?"),
                         {qint64(moduleNumber)});
    if (!q.next() || q.isNull("Letzte")) return std::nullopt;
    return int(q.integer("Letzte"));
}

}  // namespace lumo
