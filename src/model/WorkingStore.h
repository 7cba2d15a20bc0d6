#pragma once
// The working store of the project read last: the database "DivuRuvi.mdb"
// (tables td_mod and td_rout) and one tagged module text file per module,
// all in AppState::workFolder. Every statement binds its values as
// parameters; names compare without regard to case (model/Collation.h).
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <variant>
#include <vector>

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace lumo {

class Ui;

// A failing statement, a database that cannot be opened: an error for the caller.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using SqlValue = std::variant<std::monostate, qint64, QString>;
using SqlParams = std::vector<SqlValue>;

// One SELECT, read row by row from the first. Fields by SELECT-list name
// (aliases included) or 0-based position.
class Query {
public:
    Query(sqlite3* db, const QString& sql, const SqlParams& params);
    ~Query();
    Query(Query&&) noexcept;
    Query& operator=(Query&&) = delete;
    Query(const Query&) = delete;

    bool next();                  // moves to the next row; false at the end
    bool isNull(int column) const;
    bool isNull(const char* name) const;
    qint64 integer(int column) const;
    qint64 integer(const char* name) const;
    QString text(int column) const;
    QString text(const char* name) const;
    int columnIndex(const char* name) const;  // -1 when the SELECT list has no such name
    // The kind of the value as the store holds it (SQLite's typeof), asked
    // before any of the readers above converts it.
    enum Kind { Integer = 1, Real = 2, Text = 3, Blob = 4, Null = 5 };
    Kind kind(int column) const;
    // The field as integer(column) reads it, with its kind as kind(column)
    // tells it: one look for scans over many rows.
    qint64 integer(int column, Kind& kind) const;

private:
    int checked(int column) const;  // throws StoreError unless the SELECT list has that field

    sqlite3_stmt* stmt_ = nullptr;
    int columns_ = 0;  // of the SELECT list: asked once, not on every field read
};

// Reading is all a stored project is opened for (the window showing it, the
// headless verbs): such a store is never written, not even its journal mode,
// so that it opens on a read-only share as well.
enum class StoreAccess { ReadWrite, ReadOnly };

class WorkingStore {
public:
    static WorkingStore& instance();

    // Copies the template beside the program over workFolder + "DivuRuvi.mdb".
    // On a missing template or a failed copy shows the critical message naming
    // the template's full path and returns false. The store must be closed.
    bool createWorkingDatabase(Ui& ui);
    // Opens workFolder + "DivuRuvi.mdb", only when it is a regular file (a
    // pipe in its place would block for ever); throws StoreError.
    void openWorkingDatabase(StoreAccess access = StoreAccess::ReadWrite);
    // Silent, also when nothing is open.
    void closeWorkingDatabase();
    bool isOpen() const { return db_ != nullptr; }
    // Counts the openings: what was read from the store at one opening
    // belongs to it while the count stays.
    quint64 openings() const { return openings_; }

    void execute(const QString& sql, const SqlParams& params = {});  // throws StoreError
    Query query(const QString& sql, const SqlParams& params = {});   // throws StoreError
    void begin();     // one transaction per module during a build
    void commit();
    void rollback();  // silent

    QString databasePath() const { return databasePath_; }
    QString templatePath() const;
    QString moduleTextPath(int moduleNumber) const;
    // The folder of the module texts (with its slash) and a text's name in it.
    QString moduleTextFolder() const;
    static QString moduleTextName(int moduleNumber);
    // Writes text (UTF-8, as given) to the module text file of moduleCounter.
    void writeModuleText(const QString& text);  // throws StoreError
    // Only from a regular file within kMaxStoredText: a pipe in its place
    // would block, a link to a device never end. While the store is open for
    // reading, a text whose line count is not the one the store recorded
    // for its module (swapped or replaced) is refused as not belonging to
    // the project. Throws StoreError.
    QString readModuleText(int moduleNumber) const;
    // The file's UTF-8 as it lies, under the same rules; readModuleText decodes it.
    QByteArray readModuleBytes(int moduleNumber) const;

    // Whether the database file has the two tables of a store: what tells a
    // store of this program from another file of its name. Opened read-only;
    // false when it cannot be read as a database.
    static bool holdsStoreTables(const QString& databaseFile);

    // Build state: numbering of modules and routines, the module being built.
    qint16 moduleCounter = 0;
    qint32 routineCounter = 0;
    QString currentModuleName;
    int currentModuleType = 0;

private:
    // Why a module text's bytes are not those of module moduleNumber; empty
    // when they may be.
    QString foreignText(int moduleNumber, const QByteArray& bytes) const;

    sqlite3* db_ = nullptr;
    bool readOnly_ = false;
    QString databasePath_;
    quint64 openings_ = 0;
    // Each module's recorded line count and name (by number), read at the
    // first text read after an opening for reading.
    struct RecordedModule {
        qint64 lines = -1;  // -1: no row
        QString name;
    };
    mutable std::vector<RecordedModule> recorded_;
    mutable quint64 recordedAt_ = 0;  // the opening they were read at
};

// One transaction on the store, rolled back unless committed: a module whose
// rows fail half-way leaves none of them behind.
class StoreTransaction {
public:
    explicit StoreTransaction(WorkingStore& store) : store_(store) { store_.begin(); }
    ~StoreTransaction() {
        if (!done_) store_.rollback();
    }
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;
    void commit() {
        store_.commit();
        done_ = true;
    }

private:
    WorkingStore& store_;
    bool done_ = false;
};

}  // namespace lumo
