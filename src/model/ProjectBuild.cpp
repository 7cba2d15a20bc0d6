#include "model/ProjectBuild.h"

#include <limits>

#include <QStringList>

#include "base/Options.h"
#include "model/ModuleParser.h"
#include "model/ParseError.h"
#include "model/TagCode.h"
#include "model/WorkingStore.h"

namespace lumo {

ProjectBuild::ProjectBuild(Ui& ui, WorkingStore& store, const Options& options)
    : ui_(ui), store_(store), options_(options) {}

bool ProjectBuild::begin() {
    WorkingStore& store = store_;
    store.closeWorkingDatabase();
    store.moduleCounter = 0;
    store.routineCounter = 0;
    leftOut_.clear();
    if (!store.createWorkingDatabase(ui_)) return false;
    store.openWorkingDatabase();
    return true;
}

void ProjectBuild::addModule(const QString& name, int modTyp, const QString& code) {
    addModuleWith(name, modTyp, [&] {
        QString text = code;
        tagCode(text, TagMode::Module, options_, store_);
    });
}

void ProjectBuild::addModuleWith(const QString& name, int modTyp, const std::function<void()>& pipeline) {
    WorkingStore& store = store_;
    // The module number is a 16-bit count in the store's numbering.
    // A limit of the build, not a fault of this module's code.
    if (store.moduleCounter == std::numeric_limits<qint16>::max())
        throw StoreError("Zu viele Module");
    const qint16 moduleBefore = store.moduleCounter;
    const qint32 routineBefore = store.routineCounter;
    ++store.moduleCounter;
    store.currentModuleName = name;
    store.currentModuleType = modTyp;
    // A module either lands whole or not at all: the modules before it stay,
    // the failing one leaves no rows behind, and the numbers run on without
    // a gap over the modules that were read.
    try {
        StoreTransaction transaction(store);
        pipeline();
        transaction.commit();
    } catch (...) {
        store.moduleCounter = moduleBefore;
        store.routineCounter = routineBefore;
        throw;
    }
}

bool ProjectBuild::addModuleOrLeaveOut(const QString& name, int modTyp, const QString& code) {
    try {
        addModule(name, modTyp, code);
        return true;
    } catch (const ParseError& e) {
        // The code is still the user's code: kept, coloured, with the
        // routines that could be split, and named with the line that keeps
        // the others from being split.
        std::vector<ParseFault> faults;
        try {
            addModuleWith(name, modTyp, [&] {
                const ParsedModule module = parseModuleAsFarAsPossible(code, options_, store_.routineCounter, faults);
                storeModule(module, store_);
                store_.writeModuleText(module.text);
            });
        } catch (const ParseError& again) {
            leftOut_.push_back({name, again.reason(), again.line()});
            return false;
        }
        const ParseFault cause = faults.empty() ? ParseFault{e.reason(), e.line()} : faults.front();
        leftOut_.push_back({name, cause.reason, cause.line, true});
        return true;
    }
}

void ProjectBuild::finish() {
    store_.closeWorkingDatabase();
}

QString buildFailedTitle(const QString& moduleName) {
    return QStringLiteral("Fehler beim Einlesen: Modul ") + moduleName;
}

QString leftOutLine(const LeftOutModule& module) {
    QString reason = module.reason;
    if (module.line > 0) reason += QStringLiteral(" in Zeile ") + QString::number(module.line);
    QString line = QStringLiteral("Modul: ") + module.name + QStringLiteral(" (") + reason + QLatin1Char(')');
    if (module.textKept) line += QStringLiteral(": eingelesen, aber nicht in alle Routinen zerlegt");
    return line;
}

std::size_t countLeftOut(const std::vector<LeftOutModule>& modules) {
    std::size_t n = 0;
    for (const LeftOutModule& m : modules) n += !m.textKept;
    return n;
}

QString buildFailedWarning(const std::vector<LeftOutModule>& leftOut) {
    QStringList lines = {
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
    if (!leftOut.empty()) lines << QString();
    for (const LeftOutModule& m : leftOut) lines << leftOutLine(m);
    return lines.join(QStringLiteral("\r\n"));
}

}  // namespace lumo
