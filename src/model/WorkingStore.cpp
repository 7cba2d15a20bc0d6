#include "model/WorkingStore.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <sys/stat.h>

#include "base/AppState.h"
#include "base/ByteSearch.h"
#include "base/FileHelpers.h"
#include "base/Limits.h"
#include "base/Progress.h"
#include "base/ReadError.h"
#include "base/SystemErrors.h"
#include "base/Ui.h"
#include "model/Collation.h"

namespace lumo {

namespace {

// About a millisecond of a query between two turns.
constexpr int kStepsPerTurn = 20000;

int takeWorkTurn(void*) {
    workTurn();
    return 0;  // never interrupts: the work stops between its own steps
}

}  // namespace

namespace {

const QString kDatabaseName = QStringLiteral("DivuRuvi.mdb");
const QString kTemplateName = QStringLiteral("mask_DivuRuvi.mdb");

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Why the database file cannot be opened without risk, in German; empty
// when it can. SQLite opens whatever is there: a pipe in the store's place
// (or in its journal's, which an opening reads) would block for ever, a
// device feed it without end.
QString notARegularFile(const QString& path) {
    for (const char* companion : {"", "-journal", "-wal"}) {
        const QString file = path + QLatin1String(companion);
        struct stat st {};
        if (::stat(QFile::encodeName(file).constData(), &st) != 0 || S_ISREG(st.st_mode)) continue;
        if (*companion)
            return QStringLiteral("Die Datei %1 daneben ist keine gewöhnliche Datei.").arg(QFileInfo(file).fileName());
        return S_ISDIR(st.st_mode) ? QStringLiteral("Das ist ein Ordner, keine Datei.")
                                   : QStringLiteral("Das ist keine gewöhnliche Datei.");
    }
    return {};
}

[[noreturn]] void fail(sqlite3* db, const QString& context = {}) {
    QString msg = db ? germanSystemText(QString::fromUtf8(sqlite3_errmsg(db))) : QStringLiteral("Keine Datenbank geöffnet");
    if (!context.isEmpty()) msg = context + QStringLiteral(": ") + msg;
    throw StoreError(msg.toStdString());
}

sqlite3* requireOpen(sqlite3* db) {
    if (!db) throw StoreError("Keine Datenbank geöffnet");
    return db;
}

// Prepares exactly one statement; a second statement in the same text is
// refused, since its values could not be bound.
sqlite3_stmt* prepare(sqlite3* db, const QString& sql, const SqlParams& params) {
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, &tail) != SQLITE_OK) fail(db);
    if (!stmt) throw StoreError("Leere Anweisung");
    if (tail && !QByteArray(tail).trimmed().isEmpty()) {
        sqlite3_finalize(stmt);
        throw StoreError("Nur eine Anweisung je Aufruf erlaubt");
    }
    if (int(params.size()) != sqlite3_bind_parameter_count(stmt)) {
        sqlite3_finalize(stmt);
        throw StoreError("Die Anzahl der Werte passt nicht zur Anweisung");
    }
    for (int i = 0; i < int(params.size()); ++i) {
        int rc = SQLITE_OK;
        const SqlValue& v = params[size_t(i)];
        if (std::holds_alternative<qint64>(v)) {
            rc = sqlite3_bind_int64(stmt, i + 1, std::get<qint64>(v));
        } else if (std::holds_alternative<QString>(v)) {
            const QByteArray text = std::get<QString>(v).toUtf8();
            rc = sqlite3_bind_text(stmt, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        } else {
            rc = sqlite3_bind_null(stmt, i + 1);
        }
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            fail(db);
        }
    }
    return stmt;
}

}  // namespace

// ---- Query ----

Query::Query(sqlite3* db, const QString& sql, const SqlParams& params)
    : stmt_(prepare(requireOpen(db), sql, params)), columns_(sqlite3_column_count(stmt_)) {}

Query::~Query() { sqlite3_finalize(stmt_); }

Query::Query(Query&& other) noexcept : stmt_(other.stmt_), columns_(other.columns_) {
    other.stmt_ = nullptr;
    other.columns_ = 0;
}

bool Query::next() {
    if (!stmt_) return false;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    fail(sqlite3_db_handle(stmt_));
}

int Query::columnIndex(const char* name) const {
    if (!stmt_) return -1;
    const int n = sqlite3_column_count(stmt_);
    // Field names compare without regard to case, as the original engine's did.
    for (int i = 0; i < n; ++i)
        if (sqlite3_stricmp(sqlite3_column_name(stmt_, i), name) == 0) return i;
    return -1;
}

int Query::checked(int column) const {
    if (column < 0 || column >= columns_) throw StoreError("Feld Nummer " + std::to_string(column) + " gibt es nicht");
    return column;
}

namespace {
int namedColumn(const Query& q, const char* name) {
    const int i = q.columnIndex(name);
    if (i < 0) throw StoreError(std::string("Feld ") + name + " gibt es nicht");
    return i;
}
}  // namespace

Query::Kind Query::kind(int column) const {
    static_assert(Integer == SQLITE_INTEGER && Real == SQLITE_FLOAT && Text == SQLITE_TEXT && Blob == SQLITE_BLOB &&
                  Null == SQLITE_NULL);
    return Kind(sqlite3_column_type(stmt_, checked(column)));
}

bool Query::isNull(int column) const {
    return sqlite3_column_type(stmt_, checked(column)) == SQLITE_NULL;
}
bool Query::isNull(const char* name) const { return isNull(namedColumn(*this, name)); }

qint64 Query::integer(int column) const {
    Kind kind;
    return integer(column, kind);
}
qint64 Query::integer(const char* name) const { return integer(namedColumn(*this, name)); }

qint64 Query::integer(int column, Kind& kind) const {
    const int c = checked(column);
    kind = Kind(sqlite3_column_type(stmt_, c));
    // A number stored as text (a computed field) still reads as its number.
    if (kind == Text) return text(c).trimmed().toLongLong();
    return sqlite3_column_int64(stmt_, c);
}

QString Query::text(int column) const {
    const int c = checked(column);
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, c));
    if (!p) return {};
    return QString::fromUtf8(p, sqlite3_column_bytes(stmt_, c));
}
QString Query::text(const char* name) const { return text(namedColumn(*this, name)); }

// ---- WorkingStore ----

WorkingStore& WorkingStore::instance() {
    static WorkingStore store;
    return store;
}

bool WorkingStore::holdsStoreTables(const QString& databaseFile) {
    sqlite3* db = nullptr;
    const QByteArray path = QFile::encodeName(databaseFile);
    if (!notARegularFile(databaseFile).isEmpty()) return false;
    bool ok = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    sqlite3_stmt* stmt = nullptr;
    ok = ok && sqlite3_prepare_v2(db,
                                  "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                  "lower(name) IN ('td_mod', 'td_rout')",
                                  -1, &stmt, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) == 2;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return ok;
}

QString WorkingStore::templatePath() const {
    return withSlash(appState().programFolder) + kTemplateName;
}

bool WorkingStore::createWorkingDatabase(Ui& ui) {
    // The file is about to be replaced; a connection to it must not outlive that.
    closeWorkingDatabase();
    databasePath_ = withSlash(appState().workFolder) + kDatabaseName;
    const QString source = templatePath();
    bool ok = QFileInfo(source).isFile();
    if (ok) {
        // Copy beside the target first, so a failed copy leaves the old file whole.
        const QString partial = databasePath_ + QStringLiteral(".neu");
        QFile::remove(partial);
        ok = QFile::copy(source, partial);
        if (ok) {
            QFile::setPermissions(partial, QFile::permissions(partial) | QFile::WriteOwner);
            if (QFileInfo::exists(databasePath_)) ok = QFile::remove(databasePath_);
            ok = ok && QFile::rename(partial, databasePath_);
        }
        if (!ok) QFile::remove(partial);
    }
    if (!ok) {
        ui.message(QStringLiteral("Die notwendige Datenbank\r\n") + source +
                       QStringLiteral("\r\nexistiert nicht !!!\r\nBitte kopieren Sie diese wieder an diese Stelle"),
                   QString(), MsgIcon::Critical);
    }
    return ok;
}

void WorkingStore::openWorkingDatabase(StoreAccess access) {
    closeWorkingDatabase();
    ++openings_;
    databasePath_ = withSlash(appState().workFolder) + kDatabaseName;
    const bool readOnly = access == StoreAccess::ReadOnly;
    sqlite3* db = nullptr;
    const auto failOpen = [&](const QString& msg) {
        sqlite3_close(db);
        throw StoreError((databasePath_ + QStringLiteral(": ") + germanSystemText(msg)).toStdString());
    };
    if (const QString why = notARegularFile(databasePath_); !why.isEmpty()) failOpen(why);
    // Never SQLITE_OPEN_CREATE: a missing store is an error, not a new empty file.
    // NOMUTEX: a connection is only ever used by the thread that opened it, and
    // the library's own lock around every call would cost as much as reading
    // a whole project's routine rows.
    const int rc = sqlite3_open_v2(QFile::encodeName(databasePath_).constData(), &db,
                                   (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) failOpen(QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
    if (registerNameCollation(db) != SQLITE_OK) failOpen(QStringLiteral("Vergleichsregel für Namen nicht verfügbar"));
    sqlite3_busy_timeout(db, 2000);
    sqlite3_progress_handler(db, kStepsPerTurn, takeWorkTurn, nullptr);
    // A file that is no database fails here, at opening, not at the first query.
    // Rows are only written by a build into the run folder, which a crash
    // discards anyway: waiting for the disk on every module's commit buys nothing,
    // and neither does a journal file made and deleted for every module.
    const char* const setUp = readOnly ? "SELECT count(*) FROM sqlite_master"
                                       : "SELECT count(*) FROM sqlite_master; PRAGMA synchronous = OFF; "
                                         "PRAGMA journal_mode = MEMORY";
    char* err = nullptr;
    if (sqlite3_exec(db, setUp, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        failOpen(msg);
    }
    db_ = db;
    readOnly_ = readOnly;
}

void WorkingStore::closeWorkingDatabase() {
    if (!db_) return;
    sqlite3_close_v2(db_);  // _v2: statements still alive are finalised by their owners later
    db_ = nullptr;
}

void WorkingStore::execute(const QString& sql, const SqlParams& params) {
    sqlite3_stmt* stmt = prepare(requireOpen(db_), sql, params);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) fail(db_);
}

Query WorkingStore::query(const QString& sql, const SqlParams& params) { return Query(db_, sql, params); }

void WorkingStore::begin() { execute(QStringLiteral("BEGIN")); }
void WorkingStore::commit() { execute(QStringLiteral("COMMIT")); }
void WorkingStore::rollback() {
    if (db_ && !sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

QString WorkingStore::moduleTextPath(int moduleNumber) const { return moduleTextFolder() + moduleTextName(moduleNumber); }

QString WorkingStore::moduleTextFolder() const { return withSlash(appState().workFolder); }

QString WorkingStore::moduleTextName(int moduleNumber) {
    return QLatin1Char('M') + QString::number(moduleNumber) + QStringLiteral(".txt");
}

void WorkingStore::writeModuleText(const QString& text) {
    const QString path = moduleTextPath(moduleCounter);
    // Written beside the target and renamed over it, so that a failed write
    // never leaves half a module text; not synced to disk, like the database
    // of the working store (a build is made again rather than recovered, and
    // a sync per module would cost more than the whole pipeline).
    const QString partial = path + QStringLiteral(".neu");
    QFile file(partial);
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    // Qt reports a failed write (a full disk) as an unknown error; the
    // system's own cause is still in errno.
    const int failure = errno;
    QString why = !ok && failure ? QString::fromLocal8Bit(std::strerror(failure)) : file.errorString();
    file.close();
    // A full disk may show only when the buffer is flushed at closing.
    if (ok && file.error() != QFileDevice::NoError) why = file.errorString();
    ok = ok && file.error() == QFileDevice::NoError;
    std::error_code ec;
    if (ok) std::filesystem::rename(QFile::encodeName(partial).toStdString(), QFile::encodeName(path).toStdString(), ec);
    if (!ok || ec) {
        QFile::remove(partial);
        throw StoreError(
            (path + QStringLiteral(": ") + germanSystemText(ok ? QString::fromStdString(ec.message()) : why)).toStdString());
    }
}

QString WorkingStore::foreignText(int moduleNumber, const QByteArray& bytes) const {
    // Only a store opened for reading is whole: a build adds its rows as it goes.
    if (!db_ || !readOnly_) return {};
    if (recordedAt_ != openings_) {
        recorded_.clear();
        Query q(db_, QStringLiteral("SELECT mod_num, mod_zeilen, mod_name FROM td_mod"), {});
        while (q.next()) {
            const qint64 number = q.integer(0);
            if (number < 1 || number > kMaxModules) continue;  // the store's check names such a store
            if (number >= qint64(recorded_.size())) recorded_.resize(size_t(number) + 1);
            recorded_[size_t(number)] = {q.integer(1), q.text(2)};
        }
        recordedAt_ = openings_;
    }
    if (moduleNumber < 1 || moduleNumber >= int(recorded_.size())) return {};
    const RecordedModule& m = recorded_[size_t(moduleNumber)];
    // A build writes each line with CR LF, and records how many it wrote.
    const qint64 lines = countByte(bytes.constData(), bytes.constData() + bytes.size(), '\n');
    if (m.lines < 0 || lines == m.lines) return {};
    return QStringLiteral("Der Text gehört nicht zum Modul »%1« dieses Projekts (%2 statt %3 Zeilen); wurden Dateien "
                          "des Projekts vertauscht oder ersetzt?")
        .arg(m.name)
        .arg(lines)
        .arg(m.lines);
}

QByteArray WorkingStore::readModuleBytes(int moduleNumber) const {
    const QString path = moduleTextPath(moduleNumber);
    QByteArray bytes;
    try {
        bytes = readRegularFile(path, kMaxStoredText);
    } catch (const ReadError& e) {
        throw StoreError((path + QStringLiteral(": ") + e.message()).toStdString());
    }
    if (const QString why = foreignText(moduleNumber, bytes); !why.isEmpty())
        throw StoreError((path + QStringLiteral(": ") + why).toStdString());
    return bytes;
}

QString WorkingStore::readModuleText(int moduleNumber) const { return QString::fromUtf8(readModuleBytes(moduleNumber)); }

}  // namespace lumo
