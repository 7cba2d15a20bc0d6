// "codelumo-cli export": what the export commands of the window produce from
// a stored project, for scripts and documentation builds: HTML (without the
// footer question; --footer adds the footer as a Yes would), the RTF file,
// a module's plain text, the project tree's structure listing.
#include <cstdio>
#include <optional>
#include <vector>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "base/AppState.h"
#include "base/SystemErrors.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "export/HtmlExport.h"
#include "export/Html.h"
#include "export/RoutineListing.h"
#include "export/RtfExport.h"
#include "export/StructureListing.h"
#include "export/TextExport.h"
#include "model/CodeDatabase.h"
#include "model/StoreCheck.h"
#include "model/WorkingStore.h"
#include "render/PlainText.h"
#include "render/RtfRenderer.h"
#include "view/NodeList.h"
#include "view/ProjectTree.h"

namespace lumo::cli {

namespace {

enum class Format { None, Html, Rtf, Text, Structure };

struct ExportArgs {
    Format format = Format::None;
    int module = 0;  // 0: the whole project
    bool footer = false;
    bool longForm = false;  // --long: the structure with kind, visibility and signature per routine
    QString out;     // "": standard output
    QString folder;
};

const char* const kUsage =
    "export (--html|--rtf|--text|--structure [--long]) [--module N] [--footer] [--out DATEI] ORDNER";

// False when the words are off.
bool parseArgs(const QStringList& args, ExportArgs& a) {
    auto format = [&a](Format f) {
        return [&a, f] {
            const bool first = a.format == Format::None;
            a.format = f;
            return first;
        };
    };
    Arguments call;
    call.flag("html", format(Format::Html))
        .flag("rtf", format(Format::Rtf))
        .flag("text", format(Format::Text))
        .flag("structure", format(Format::Structure))
        .flag("footer", a.footer)
        .flag("long", a.longForm)
        .number("module", a.module)
        .text("out", a.out);
    if (!call.read(args) || !call.hasWords(1) || a.format == Format::None) return false;
    a.folder = call.words()[0];
    // A module's plain text is the one export without a project form; the
    // footer belongs to HTML, the module choice to everything but the tree.
    if (a.format == Format::Text && a.module == 0) return false;
    if (a.footer && a.format != Format::Html) return false;
    if (a.longForm && a.format != Format::Structure) return false;
    return !(a.format == Format::Structure && a.module != 0);
}

// Where an export goes: standard output, each piece as it is made, or the
// file of --out, written beside and put in its place only when whole. A
// whole project's HTML is thus never held: one module at a time. Only a
// regular file is ever replaced: a pipe or a terminal named by --out is
// written as it is, anything else (a folder, a disk, a socket, a file the
// user protected) is refused before the project is read.
class Output {
public:
    explicit Output(const QString& path) : path_(path) {
        if (path.isEmpty()) return;
        const QByteArray native = QFile::encodeName(path);
        struct stat st {};
        const bool exists = ::stat(native.constData(), &st) == 0;
        if (!exists || S_ISREG(st.st_mode)) {
            // Asked of the mode as well: the system lets an administrator write anything.
            if (exists && ((st.st_mode & 0222) == 0 || ::access(native.constData(), W_OK) != 0)) {
                refusal_ = QStringLiteral("Die Datei ist schreibgeschützt; sie wird nicht ersetzt.");
            } else {
                file_.emplace(path);
                if (!file_->open(QIODevice::WriteOnly)) refusal_ = germanSystemText(file_->errorString());
            }
        } else if (S_ISDIR(st.st_mode)) {
            refusal_ = QStringLiteral("Das ist ein Ordner; bitte geben Sie eine Datei an.");
        } else if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)) {
            openDirectly(native);
        } else {
            refusal_ = QStringLiteral("Das ist keine gewöhnliche Datei, keine Pipe und kein Terminal.");
        }
        if (!refusal_.isEmpty()) printError(QStringLiteral("Die Datei ") + QDir::toNativeSeparators(path_) +
                                            QStringLiteral(" kann nicht geschrieben werden: ") + refusal_);
    }
    ~Output() {
        if (fd_ >= 0) ::close(fd_);
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // False when --out names nothing that may be written (said on standard error).
    bool usable() const { return refusal_.isEmpty(); }
    void write(QByteArrayView bytes) {
        if (!ok_ || !usable()) return;
        if (fd_ >= 0) return writeDirectly(bytes);
        ok_ = file_ ? file_->write(bytes.data(), bytes.size()) == bytes.size()
                    : std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    }
    // Whether everything arrived; a file that did not is named with the reason.
    bool finish() {
        if (!usable()) return false;
        if (fd_ >= 0 && ok_) return true;
        if (!file_ && fd_ < 0) return std::fflush(stdout) == 0 && ok_;
        if (file_ && ok_ && file_->commit()) return true;
        printError(QStringLiteral("Die Datei ") + QDir::toNativeSeparators(path_) +
                   QStringLiteral(" kann nicht geschrieben werden: ") +
                   (file_ ? germanSystemText(file_->errorString()) : systemErrorText(error_)));
        return false;
    }

private:
    // Without waiting: a pipe nobody reads from is refused, not waited on.
    void openDirectly(const QByteArray& native) {
        fd_ = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        struct stat st {};
        if (fd_ < 0) {
            refusal_ = errno == ENXIO ? QStringLiteral("Aus der Pipe liest niemand.") : systemErrorText(errno);
        } else if (::fstat(fd_, &st) != 0 || !(S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))) {
            refusal_ = QStringLiteral("Die Datei wurde während des Öffnens ausgetauscht.");
        } else {
            ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
        }
    }
    void writeDirectly(QByteArrayView bytes) {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd_, bytes.data() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error_ = n < 0 ? errno : EIO;
                ok_ = false;
                return;
            }
            done += n;
        }
    }

    QString path_;
    QString refusal_;
    std::optional<QSaveFile> file_;
    int fd_ = -1;
    int error_ = 0;
    bool ok_ = true;
};

// The project tree as the window fills it: modules by type and name, their
// routines below (from the rows the store's check read, where there are).
NodeList projectTree(WorkingStore& store, const ProjectRows* rows, bool withRoutines, int& moduleCount) {
    NodeList tree;
    if (rows && withRoutines) {
        moduleCount = fillProjectTree(tree, *rows);
        return tree;
    }
    moduleCount = fillModuleTree(tree, store);
    if (withRoutines) addRoutineNodes(tree, store);
    return tree;
}

// Standard output cannot take back what it was given: a module text that
// cannot be read or does not belong to the project is found before the
// first byte goes out, and named as its reader names it (which throws).
// Reading the texts once more costs little beside converting them.
void checkReadable(const WorkingStore& store, size_t modules) {
    for (int n = 1; n <= int(modules); ++n) store.readModuleBytes(n);
}

void produce(const ExportArgs& a, WorkingStore& store, const ProjectRows* rows, Output& out) {
    const AppState& state = appState();
    const Options& options = state.options;
    std::vector<ExportModule> modules;
    if (a.longForm) return out.write(routineListing(store).toUtf8());
    if (a.module == 0 && a.format != Format::Text) {
        int count = 0;
        const NodeList tree = projectTree(store, rows, a.format == Format::Structure, count);
        if (a.format == Format::Structure) return out.write(structureListing(tree.nodes()).toUtf8());
        modules = exportModules(tree, count);
        if (a.out.isEmpty()) checkReadable(store, modules.size());
    }
    switch (a.format) {
    case Format::Html:
        if (a.module) out.write(moduleHtml(store, a.module, options).toUtf8());
        else
            writeProjectHtml(store, modules, options, state.exportModuleHeadings,
                             [&out](const QString& piece) { out.write(piece.toUtf8()); });
        if (a.footer) out.write(withHtmlFooter(QString(), state.hostName, state.options.makerWebPage).toUtf8());
        return;
    case Format::Rtf:
        if (a.module) return out.write(rtfFileBytes(moduleRtfDocument(store, a.module, options)));
        return writeProjectRtf(store, modules, options, state.exportModuleHeadings,
                               [&out](QByteArrayView piece) { out.write(piece); });
    case Format::Text: return out.write(plainTextOfModule(store.readModuleText(a.module), options).toUtf8());
    default: return;
    }
}

int runExport(const QStringList& args) {
    ExportArgs a;
    if (!parseArgs(args, a)) return usageError(kUsage);
    if (!initCliState()) return 1;
    appState().workFolder = QDir(a.folder).absolutePath() + QLatin1Char('/');
    WorkingStore& store = WorkingStore::instance();
    if (!QFileInfo::exists(appState().workFolder + QStringLiteral("DivuRuvi.mdb"))) {
        printError(QStringLiteral("Kein Gültiges Projekt: ") + QDir::toNativeSeparators(a.folder));
        return 1;
    }
    if (a.module && !QFileInfo::exists(store.moduleTextPath(a.module))) {
        printError(QStringLiteral("Modul %1 gibt es in %2 nicht").arg(a.module).arg(a.folder));
        return 1;
    }
    Output out(a.out);
    if (!out.usable()) return 1;
    try {
        // Only the structure of the whole project lists every routine: the
        // check hands over the rows it reads for that one.
        const bool wholeStructure = a.format == Format::Structure && !a.longForm && a.module == 0;
        ProjectRows rows;
        openStoredProject(wholeStructure ? &rows : nullptr);
        produce(a, store, wholeStructure ? &rows : nullptr, out);
    } catch (const std::exception& e) {
        store.closeWorkingDatabase();
        printError(germanSystemText(QString::fromStdString(e.what())));
        return 1;
    }
    store.closeWorkingDatabase();
    return out.finish() ? 0 : 1;
}

CliRegistration reg{{"export", kUsage, "   Exporte eines gespeicherten Projekts ausgeben", runExport}};

}  // namespace

}  // namespace lumo::cli
