#include "model/ProjectBuild.h"

#include <limits>

#include <QStringList>

#include "model/ParseError.h"
#include "model/TagCode.h"
#include "app/Options.h"
#include "model/WorkingStore.h"

namespace lumo {

ProjectBuild::ProjectBuild(Ui& ui, WorkingStore& store, const Options& options)
    : ui_(ui), store_(store), options_(options) {}

bool ProjectBuild::begin() {
    WorkingStore& store = store_;
    store.closeWorkingDatabase();
    store.moduleCounter = 0;
    store.routineCounter = 0;
    if (!store.createWorkingDatabase(ui_)) return false;
    store.openWorkingDatabase();
    return true;
}

void ProjectBuild::addModule(const QString& name, int modTyp, const QString& code) {
    WorkingStore& store = store_;
    // The module number is a 16-bit count in the store's numbering.
    if (store.moduleCounter == std::numeric_limits<qint16>::max())
        throw ParseError("Zu viele Module");
    ++store.moduleCounter;
    store.currentModuleName = name;
    store.currentModuleType = modTyp;
    QString text = code;
    // A module either lands whole or not at all: the modules before it stay,
    // the failing one leaves no rows behind.
    StoreTransaction transaction(store);
    tagCode(text, false, options_, store);
    transaction.commit();
}

void ProjectBuild::finish() {
    store_.closeWorkingDatabase();
}

QString buildFailedWarning() {
    const QStringList lines = {
        QStringLiteral("Fehler beim Einlesen !"),
        QStringLiteral("Dies kann mehrere Ursachen haben:"),
        QStringLiteral("1. Die Mappe mit dem Modul ist nicht mehr geöffnet."),
        QStringLiteral("2. Im Code sind Konstrukte, die die Divuruvi nicht auslesen kann, z.B.  spezielle "
                       "Doppelpunktonstrukte"),
        QStringLiteral("in der Art, "),
        QStringLiteral("Private Sub Test : End Sub"),
        QStringLiteral("(Also Deklaration Sub und  End Sub in einer Zeile)"),
        QStringLiteral("3. Syntaktisch nicht korrekter Code (Sollte dann auch im Editior rot sein)"),
        QString(),
        QStringLiteral("Siehe auch mögliche Fehler in der Hilfe"),
    };
    return lines.join(QStringLiteral("\r\n"));
}

}  // namespace lumo
