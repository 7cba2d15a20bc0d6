#include "model/StoreOrder.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

#include "base/Progress.h"
#include "model/Collation.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

// Blanks and case aside, as sqlite_master keeps a statement however it was written.
QString folded(const QString& statement) {
    QString out;
    out.reserve(statement.size());
    for (const QChar c : statement)
        if (!c.isSpace()) out += c.toLower();
    return out;
}

}  // namespace

void sortModuleRoutines(std::vector<RoutineRow>& rows, size_t first, size_t last) {
    if (last > rows.size() || first >= last || last - first < 2) return;
    // Routines of one name (a Property's Get and Let) by first line, then in
    // the table's order: the order the store's index on (mod_num, rou_start)
    // hands them to its ORDER BY, whose sort keeps it.
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

void groupByModule(std::vector<RoutineRow>& rows) {
    const auto byModule = [](const RoutineRow& a, const RoutineRow& b) { return a.module < b.module; };
    if (!std::is_sorted(rows.begin(), rows.end(), byModule)) std::stable_sort(rows.begin(), rows.end(), byModule);
}

void sortByModuleAndName(std::vector<RoutineRow>& rows) {
    groupByModule(rows);
    for (size_t first = 0; first < rows.size();) {
        size_t last = first + 1;
        while (last < rows.size() && rows[last].module == rows[first].module) ++last;
        sortModuleRoutines(rows, first, last);
        first = last;
    }
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

RoutineScan scanRoutines(WorkingStore& store, bool withNames, const std::vector<qint64>& moduleLines,
                         qint64 routines) {
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

std::optional<std::vector<ModuleRow>> modulesSortedHere(WorkingStore& store) {
    auto q = store.query(QStringLiteral("SELECT mod_num, mod_name, mod_typ, mod_zeilen FROM td_mod"));
    std::vector<ModuleRow> rows;
    while (q.next()) {
        if (q.kind(1) != Query::Text) return std::nullopt;
        Query::Kind kind;
        const qint64 type = q.integer(2, kind);
        if (kind != Query::Integer || type < INT_MIN || type > INT_MAX) return std::nullopt;
        ModuleRow m;
        m.number = int(q.integer(0));
        m.name = q.text(1);
        m.type = int(type);
        m.lines = q.isNull(3) ? 0 : int(q.integer(3));
        rows.push_back(std::move(m));
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

}  // namespace lumo
