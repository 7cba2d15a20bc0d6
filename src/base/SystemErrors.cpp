#include "base/SystemErrors.h"

#include <cerrno>
#include <cstring>
#include <iterator>

namespace lumo {

namespace {

struct ErrnoWords {
    int errnum;
    const char* german;
};

// The causes a user can act on; the rest are named by number.
constexpr ErrnoWords kErrnoWords[] = {
    {EACCES, "Zugriff verweigert"},
    {EPERM, "Vorgang nicht erlaubt"},
    {ENOSPC, "Kein Platz mehr auf dem Datenträger"},
    {EDQUOT, "Speicherkontingent auf dem Datenträger erschöpft"},
    {EROFS, "Der Datenträger ist schreibgeschützt"},
    {ENOENT, "Datei oder Ordner existiert nicht"},
    {ENOTDIR, "Ein Teil des Pfades ist kein Ordner"},
    {EISDIR, "Das ist ein Ordner"},
    {EEXIST, "Die Datei oder der Ordner existiert bereits"},
    {ENOTEMPTY, "Der Ordner ist nicht leer"},
    {EBUSY, "Die Datei oder der Ordner wird gerade benutzt"},
    {ETXTBSY, "Die Datei wird gerade benutzt"},
    {EIO, "Ein-/Ausgabefehler beim Zugriff auf den Datenträger"},
    {ENAMETOOLONG, "Der Name ist zu lang"},
    {ELOOP, "Zu viele Verknüpfungen hintereinander (Verknüpfungsschleife)"},
    {EMFILE, "Zu viele offene Dateien"},
    {ENFILE, "Zu viele offene Dateien im System"},
    {ENOMEM, "Nicht genug Arbeitsspeicher"},
    {EFBIG, "Die Datei ist zu groß"},
    {EXDEV, "Ordner auf verschiedenen Datenträgern"},
    {EINVAL, "Ungültiges Argument"},
    {EAGAIN, "Vorübergehend nicht verfügbar"},
    {ENXIO, "Gerät oder Adresse nicht vorhanden"},
    {ENODEV, "Gerät nicht vorhanden"},
};

struct PhraseWords {
    const char* english;
    const char* german;
};

// Phrases of SQLite and Qt that do not come from strerror.
constexpr PhraseWords kPhrases[] = {
    {"database or disk is full", "Kein Platz mehr auf dem Datenträger"},
    {"attempt to write a readonly database", "Zugriff verweigert (die Datenbank ist schreibgeschützt)"},
    {"unable to open database file", "Die Datenbankdatei kann nicht geöffnet werden"},
    {"disk I/O error", "Ein-/Ausgabefehler beim Zugriff auf den Datenträger"},
    {"file is not a database", "Die Datei ist keine Datenbank"},
    {"database disk image is malformed", "Die Datenbank ist beschädigt"},
    {"database is locked", "Die Datenbank wird gerade von einem anderen Programm benutzt"},
    {"out of memory", "Nicht genug Arbeitsspeicher"},
    {"Unknown error", "Unbekannter Fehler"},
};

}  // namespace

QString systemErrorText(int errnum) {
    for (const ErrnoWords& w : kErrnoWords)
        if (w.errnum == errnum) return QString::fromUtf8(w.german);
    return QStringLiteral("Systemfehler %1").arg(errnum);
}

QString germanSystemText(const QString& text) {
    QString out = text;
    for (const ErrnoWords& w : kErrnoWords) {
        const QString english = QString::fromLocal8Bit(std::strerror(w.errnum));
        if (out.contains(english, Qt::CaseInsensitive))
            out.replace(english, QString::fromUtf8(w.german), Qt::CaseInsensitive);
    }
    for (const PhraseWords& p : kPhrases) {
        const QString english = QString::fromLatin1(p.english);
        if (out.contains(english, Qt::CaseInsensitive))
            out.replace(english, QString::fromUtf8(p.german), Qt::CaseInsensitive);
    }
    return out;
}

}  // namespace lumo
