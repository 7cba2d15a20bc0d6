#include "lsp/Workspace.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "acquire/ExportedModules.h"
#include "acquire/FolderEntries.h"
#include "base/CaseFold.h"
#include "base/FileHelpers.h"
#include "base/Limits.h"
#include "base/ReadError.h"
#include "render/CodePage.h"

namespace lumo::lsp {

qint64 maxModuleText() { return kMaxDocumentText; }

void Workspace::addFolder(const QString& folder) {
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (std::find(folders_.begin(), folders_.end(), root) != folders_.end()) return;
    folders_.push_back(root);
    if (!pathStatus(root).folder) {
        messages_ << QStringLiteral("%1: der Ordner existiert nicht.").arg(root);
        return;
    }
    listFolder(root, 0);
}

void Workspace::listFolder(const QString& folder, int depth) {
    for (const FolderEntry& e : folderEntries(folder)) {
        // .git and the folders of other tools hold no modules of the project.
        if (e.hidden || (e.link && e.folder)) continue;
        if (e.folder) {
            if (e.enterable && depth + 1 < kMaxFolderDepth) listFolder(e.path, depth + 1);
        } else if (isExportedModuleFile(e.name) && e.regularFile && !entries_.count(e.path)) {
            readFile(e.path);
        }
    }
}

void Workspace::readFile(const QString& path) {
    const auto it = entries_.find(path);
    if (it != entries_.end() && it->second.open) return;
    const QFileInfo info(path);
    const PathStatus status = pathStatus(path);
    if (!status.exists) {
        if (it != entries_.end()) {
            entries_.erase(it);
            dirty_ = true;
        }
        return;
    }
    QString why;
    QByteArray bytes;
    if (!status.regularFile) {
        why = QStringLiteral("keine gewöhnliche Datei; ausgelassen.");
    } else if (info.size() > maxModuleText()) {
        why = QStringLiteral("größer als %1 MB, mehr als ein Projekt haben darf; ausgelassen.")
                  .arg(maxModuleText() / (1024 * 1024));
    } else {
        try {
            bytes = readRegularFile(path, maxModuleText());
            if (bytes.contains('\0')) why = QStringLiteral("kein Modultext (die Datei enthält Binärdaten); ausgelassen.");
        } catch (const ReadError& e) {
            why = e.message();
        }
    }
    if (!why.isEmpty()) {
        messages_ << path + QStringLiteral(": ") + why;
        if (it != entries_.end()) {
            entries_.erase(it);
            dirty_ = true;
        }
        return;
    }
    setDocument(path, ModuleDocument::read(path, decodeFileText(bytes)), false);
}

void Workspace::setDocument(const QString& path, ModuleDocument document, bool open) {
    if (!document.problem().isEmpty()) messages_ << path + QStringLiteral(": ") + document.problem();
    entries_[path] = Entry{std::move(document), open};
    dirty_ = true;
}

void Workspace::open(const QString& path, const QString& text) {
    if (text.size() > maxModuleText()) {
        messages_ << path + QStringLiteral(": der Text ist größer als %1 MB, mehr als ein Projekt haben darf; "
                                           "er wird nicht gelesen.").arg(maxModuleText() / (1024 * 1024));
        if (entries_.erase(path)) dirty_ = true;
        return;
    }
    setDocument(path, ModuleDocument::read(path, text), true);
}

void Workspace::close(const QString& path) {
    const auto it = entries_.find(path);
    if (it == entries_.end()) return;
    it->second.open = false;
    const bool inFolder = std::any_of(folders_.begin(), folders_.end(), [&](const QString& f) {
        return path.startsWith(f + u'/');
    });
    if (inFolder && isExportedModuleFile(path)) {
        readFile(path);
    } else {
        entries_.erase(it);
        dirty_ = true;
    }
}

void Workspace::fileChanged(const QString& path) {
    const auto it = entries_.find(path);
    if (it != entries_.end() && it->second.open) return;
    if (!isExportedModuleFile(path)) return;
    if (it == entries_.end()) {
        const bool inFolder = std::any_of(folders_.begin(), folders_.end(), [&](const QString& f) {
            return path.startsWith(f + u'/');
        });
        if (!inFolder) return;
    }
    readFile(path);
}

void Workspace::rebuild() {
    dirty_ = false;
    references_.clear();
    answers_.clear();
    resolver_.reset();
    scope_.reset();
    modulePaths_.clear();
    moduleOfPath_.clear();
    std::vector<const std::pair<const QString, Entry>*> order;
    for (const auto& e : entries_)
        if (e.second.document.usable()) order.push_back(&e);
    std::stable_sort(order.begin(), order.end(), [](const auto* a, const auto* b) {
        return a->first.compare(b->first, Qt::CaseInsensitive) < 0;
    });
    std::vector<ModuleRow> modules;
    std::vector<RoutineRow> routines;
    std::vector<QByteArray> texts;
    QSet<QString> names;
    qint32 routineNumber = 0;
    for (const auto* e : order) {
        const ModuleDocument& d = e->second.document;
        const QString folded = caseFolded(d.name());
        if (names.contains(folded)) {
            if (!reportedTwice_.contains(e->first)) messages_ << QStringLiteral("%1: ein Modul namens »%2« gibt es schon; die Datei wird ausgelassen.")
                             .arg(e->first, d.name());
            reportedTwice_.insert(e->first);
            continue;
        }
        names.insert(folded);
        const int number = int(modules.size()) + 1;
        modules.push_back(ModuleRow{number, d.name(), d.type(), d.shownLineCount()});
        for (RoutineRow r : d.routines()) {
            r.module = number;
            r.number = ++routineNumber;
            routines.push_back(std::move(r));
        }
        texts.push_back(d.tagged());
        modulePaths_.push_back(e->first);
        moduleOfPath_[e->first] = number;
    }
    scope_ = ProjectScope::of(std::move(modules), std::move(routines), std::move(texts));
    resolver_ = std::make_unique<NameResolver>(*scope_);
}

NameResolver& Workspace::resolver() {
    if (dirty_ || !resolver_) rebuild();
    return *resolver_;
}

const std::vector<NameReference>& Workspace::references(const Declaration& d) {
    NameResolver& r = resolver();
    const QString key = QStringLiteral("%1:%2:%3:%4:").arg(d.module).arg(d.line).arg(int(d.kind)).arg(d.routine) +
                        caseFolded(d.name);
    auto it = references_.find(key);
    if (it == references_.end()) it = references_.emplace(key, r.references(d)).first;
    return it->second;
}

QJsonValue Workspace::keptAnswer(const QString& key) const {
    const auto it = answers_.find(key);
    return it == answers_.end() ? QJsonValue(QJsonValue::Undefined) : it->second;
}

void Workspace::keepAnswer(const QString& key, const QJsonValue& answer) { answers_[key] = answer; }

int Workspace::moduleOf(const QString& path) {
    resolver();
    const auto it = moduleOfPath_.find(path);
    return it == moduleOfPath_.end() ? 0 : it->second;
}

const QString& Workspace::pathOf(int module) {
    static const QString none;
    resolver();
    return module >= 1 && module <= int(modulePaths_.size()) ? modulePaths_[size_t(module) - 1] : none;
}

const ModuleDocument* Workspace::document(int module) {
    return documentAt(pathOf(module));
}

const ModuleDocument* Workspace::documentAt(const QString& path) const {
    const auto it = entries_.find(path);
    return it == entries_.end() ? nullptr : &it->second.document;
}

const std::vector<QString>& Workspace::paths() {
    resolver();
    return modulePaths_;
}

QStringList Workspace::takeMessages() {
    QStringList out;
    out.swap(messages_);
    return out;
}

}  // namespace lumo::lsp
