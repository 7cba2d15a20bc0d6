#include "acquire/ExportedModules.h"

#include <algorithm>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "acquire/EditorImport.h"
#include "acquire/FolderEntries.h"
#include "acquire/ModuleFile.h"
#include "acquire/ModuleText.h"
#include "acquire/ReadBudget.h"
#include "base/FileHelpers.h"
#include "base/Limits.h"
#include "base/Progress.h"
#include "render/CodePage.h"

namespace lumo {

namespace {

QString suffixOf(const QString& path) { return QFileInfo(path).suffix().toLower(); }

VbaModule readModule(const QString& path) {
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kMaxModuleFileSize)
        throw ReadError(QStringLiteral("Die Datei ist zu groß für ein exportiertes Modul."));
    const QByteArray bytes = readRegularFile(path, kMaxModuleFileSize);
    if (bytes.contains('\0'))
        throw ReadError(QStringLiteral("Die Datei ist kein exportiertes VBA-Modul (sie enthält Binärdaten)."));
    // The editor writes the ANSI code page; files kept under version control
    // are often re-saved as UTF-8.
    ExportedSource src = parseExportedSource(decodeFileText(bytes));
    VbaModule module;
    module.name = src.vbName.isEmpty() ? info.completeBaseName() : src.vbName;
    const QString kind = suffixOf(path);
    if (kind == u"frm") module.type = VbaUserForm;
    else if (kind == u"cls") module.type = src.documentModule ? VbaDocumentModule : VbaClassModule;
    else module.type = VbaStandardModule;
    for (const QString& line : asEditorImports(src.lines)) module.code.appendLine(line);
    module.hidden = std::move(src.hidden);
    return module;
}

bool validName(const QString& name) {
    if (name.isEmpty()) return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c == u'"' || c == u'\\' || c == u'/') return false;
    return true;
}

}  // namespace

bool isExportedModuleFile(const QString& path) {
    const QString s = suffixOf(path);
    return s == u"bas" || s == u"cls" || s == u"frm";
}

VbaProjectData readExportedFile(const QString& path) {
    ReadBudget budget;
    return readExportedFile(path, budget);
}

VbaProjectData readExportedFolder(const QString& folder) {
    ReadBudget budget;
    return readExportedFolder(folder, budget);
}

VbaProjectData readExportedFile(const QString& path, ReadBudget& budget) {
    const QFileInfo info(path);
    const PathStatus status = pathStatus(path);
    if (!status.exists) throw ReadError(QStringLiteral("Die Datei existiert nicht."));
    if (status.regularFile && info.size() <= kMaxModuleFileSize) budget.takeModuleFiles(info.size());
    VbaProjectData project;
    project.fileName = info.absoluteFilePath();
    VbaModule module = readModule(path);
    if (!validName(module.name))
        throw ReadError(QStringLiteral("Der Modulname »%1« (Attribute VB_Name) ist ungültig.").arg(module.name));
    project.name = module.name;
    project.modules.push_back(std::move(module));
    return project;
}

VbaProjectData readExportedFolder(const QString& folder, ReadBudget& budget) {
    const QFileInfo info(folder);
    const PathStatus status = pathStatus(folder);
    if (!status.folder) throw ReadError(QStringLiteral("Der Ordner existiert nicht."));
    const QString root = QDir::cleanPath(info.absoluteFilePath());
    if (!status.enterable)
        throw ReadError(QStringLiteral("Der Ordner kann nicht gelesen werden: Zugriff verweigert."));
    const QDir base(root);
    QStringList files;
    // Entries left out, each with its reason: a module the user cannot see
    // must not vanish without a word.
    QStringList leftOut;
    QSet<QByteArray> visited;
    // Breadth by hand so the depth and link loops stay bounded.
    std::vector<std::pair<QString, int>> pending{{root, 0}};
    while (!pending.empty()) {
        auto [dir, depth] = pending.back();
        pending.pop_back();
        const QByteArray canonical = realFolderPath(dir);
        if (visited.contains(canonical)) continue;
        visited.insert(canonical);
        // Pipes, devices, sockets and broken links are listed too, so that
        // they can be named rather than skipped. Hidden entries (.git,
        // .vba-blocks) belong to tools, not to the project.
        for (const FolderEntry& e : folderEntries(dir)) {
            if (e.hidden) continue;
            const QString shown = base.relativeFilePath(e.path);
            if (e.link && !e.exists) {
                leftOut << QStringLiteral("%1: die Verknüpfung zeigt ins Leere; ausgelassen.").arg(shown);
            } else if (e.link && e.folder) {
                // A link to "/" or ".." would take the whole machine for the
                // folder the user chose; linked files inside it are read.
                leftOut << QStringLiteral("%1: die Verknüpfung auf einen Ordner wird nicht verfolgt; ausgelassen.")
                               .arg(shown);
            } else if (e.folder) {
                if (!e.enterable)
                    leftOut << QStringLiteral("%1: der Ordner kann nicht gelesen werden (Zugriff verweigert); "
                                              "ausgelassen.").arg(shown);
                else if (depth + 1 < kMaxFolderDepth)
                    pending.emplace_back(e.path, depth + 1);
                else
                    leftOut << QStringLiteral("%1: der Ordner liegt tiefer als %2 Ebenen; ausgelassen.")
                                   .arg(shown).arg(kMaxFolderDepth);
            } else if (isExportedModuleFile(e.name)) {
                if (!e.regularFile)
                    leftOut << QStringLiteral("%1: keine gewöhnliche Datei (Gerät, Pipe oder Socket); ausgelassen.")
                                   .arg(shown);
                else
                    files << e.path;
            }
        }
    }
    if (files.isEmpty()) {
        if (!leftOut.isEmpty()) throw ReadError(leftOut.join(u' '));
        throw ReadError(QStringLiteral("Der Ordner enthält keine exportierten Module (.bas, .cls, .frm)."));
    }
    std::sort(files.begin(), files.end(), [&](const QString& a, const QString& b) {
        return base.relativeFilePath(a).compare(base.relativeFilePath(b), Qt::CaseInsensitive) < 0;
    });
    // The whole folder within one budget, counted before anything is read:
    // eight files each within their own limit must not add up to gigabytes.
    // A file too large on its own is named with its reason below.
    qint64 total = 0;
    for (const QString& f : files)
        if (const qint64 size = QFileInfo(f).size(); size <= kMaxModuleFileSize) total += size;
    budget.takeModuleFiles(total);

    VbaProjectData project;
    project.fileName = root;
    project.name = QFileInfo(root).fileName();
    project.problems = leftOut;
    QSet<QString> seen;
    for (const QString& f : files) {
        workTurn();
        const QString shown = base.relativeFilePath(f);
        try {
            VbaModule module = readModule(f);
            if (!validName(module.name)) {
                project.problems << QStringLiteral("%1: der Modulname »%2« ist ungültig; die Datei wurde ausgelassen.")
                                        .arg(shown, module.name);
                continue;
            }
            if (seen.contains(module.name.toLower())) {
                project.problems << QStringLiteral("%1: ein Modul namens »%2« gibt es schon; die Datei wurde ausgelassen.")
                                        .arg(shown, module.name);
                continue;
            }
            seen.insert(module.name.toLower());
            project.modules.push_back(std::move(module));
        } catch (const ReadError& e) {
            project.problems << QStringLiteral("%1: %2").arg(shown, e.message());
        }
    }
    if (project.modules.empty()) throw ReadError(project.problems.join(u' '));
    return project;
}

}  // namespace lumo
