#include "model/CodeDatabase.h"

#include <algorithm>

#include <QFileInfo>

#include "base/Limits.h"
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

// True when every number in `column` is its row's rowid, as in each store
// this program writes (the column is the INTEGER PRIMARY KEY): the numbers
// are then distinct without sorting them. A table with a column of its own
// named rowid, or none at all, is left to the sorting count.
bool numbersAreRowids(WorkingStore& store, const QString& table, const QString& column) {
    {
        auto q = store.query(QStringLiteral("SELECT count(*) FROM pragma_table_info('%1') WHERE lower(name) = 'rowid'")
                                 .arg(table));
        if (!q.next() || q.integer(0) != 0) return false;
    }
    try {
        auto q = store.query(QStringLiteral("SELECT 1 FROM %1 WHERE %2 IS NOT rowid LIMIT 1").arg(table, column));
        return !q.next();
    } catch (const StoreError&) {
        return false;  // a table without rowids
    }
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
QString numberingDamage(WorkingStore& store, const QString& table, const QString& column, qint64 maxCount) {
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
    return {};
}

}  // namespace

QString storeDamage(WorkingStore& store) {
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
    if (QString d = numberingDamage(store, QStringLiteral("td_rout"), QStringLiteral("rou_num"), kMaxRoutineNumber);
        !d.isEmpty())
        return d;
    {
        auto q = store.query(QStringLiteral("SELECT count(*) FROM td_mod WHERE typeof(mod_zeilen) <> 'integer' "
                                            "OR mod_zeilen < 0 OR mod_zeilen > 2147483647"));
        if (q.next() && q.integer(0) > 0) return QStringLiteral("die Zeilenzahl eines Moduls ist ungültig");
    }
    {
        // rou_ende is NULL for a routine without an End line.
        auto q = store.query(QStringLiteral(
            "SELECT r.rou_num FROM td_rout r LEFT JOIN td_mod m ON r.mod_num = m.mod_num "
            "WHERE m.mod_num IS NULL OR typeof(r.rou_start) <> 'integer' OR r.rou_start < 1 "
            "OR r.rou_start > m.mod_zeilen OR typeof(r.anz_dec_zeilen) <> 'integer' OR r.anz_dec_zeilen < 1 "
            "OR (r.rou_ende IS NOT NULL AND (typeof(r.rou_ende) <> 'integer' OR r.rou_ende < r.rou_start "
            "OR r.rou_ende > m.mod_zeilen)) LIMIT 1"));
        if (q.next())
            return QStringLiteral("die Routine Nummer %1 gehört zu keinem Modul oder ihre Zeilen liegen nicht im Modul")
                .arg(q.integer(0));
    }
    // A module text that is missing or no regular file is refused by its
    // reader (readModuleText), which names it; the others go on.
    qint64 total = 0;
    const int modules = moduleCount(store);
    for (int n = 1; n <= modules; ++n) {
        const QFileInfo text(store.moduleTextPath(n));
        if (text.isFile()) total += text.size();
        if (total > kMaxStoredText)
            return QStringLiteral("die Modultexte sind zusammen größer als %1 MB").arg(kMaxStoredText / (1024 * 1024));
    }
    return {};
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
