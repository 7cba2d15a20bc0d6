#include "model/CodeDatabase.h"

#include <algorithm>
#include <string>

#include "model/StoreOrder.h"
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

}  // namespace

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
