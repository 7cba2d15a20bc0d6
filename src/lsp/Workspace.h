#pragma once
// The project a language server answers on: every module file below the
// workspace folders, read as the program reads a module folder, with the
// unsaved text of each file the editor has open in place of what is on
// disk. The resolver's scope is made from the modules at hand when it is
// first asked for after a change, without a store; a change re-reads only
// its own module.
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QJsonValue>
#include <QSet>
#include <QString>
#include <QStringList>

#include "lsp/ModuleDocument.h"
#include "navigate/NameResolver.h"
#include "navigate/ProjectScope.h"

namespace lumo::lsp {

class Workspace {
public:
    // Reads every module file below the folders (hidden entries skipped,
    // links to folders not followed, as a module folder is read).
    void addFolder(const QString& folder);
    // An open file's text, in place of the file's (any path, even outside the folders).
    void open(const QString& path, const QString& text);
    // Back to the file on disk (or out of the project, when it is no longer there).
    void close(const QString& path);
    // The file changed, came or went on disk; an open file keeps its text.
    void fileChanged(const QString& path);

    // The resolver over the project as it now stands.
    NameResolver& resolver();
    ProjectScope& scope() { return resolver().scope(); }
    // The module of a file, 0 for a file that is no module of the project.
    int moduleOf(const QString& path);
    // The file of a module and its document; null beyond the project.
    const QString& pathOf(int module);
    const ModuleDocument* document(int module);
    const ModuleDocument* documentAt(const QString& path) const;
    int moduleCount() { return scope().moduleCount(); }
    // Every place naming a declaration (NameResolver::references), kept
    // until the project changes: a routine called all over a large project
    // is asked for again and again as the user walks its references.
    const std::vector<NameReference>& references(const Declaration& declaration);
    // An answer worked out before on the project as it now stands, by a key
    // of the asker's choosing; undefined when there is none.
    QJsonValue keptAnswer(const QString& key) const;
    void keepAnswer(const QString& key, const QJsonValue& answer);
    // Every file the project was read from, by module number.
    const std::vector<QString>& paths();

    // What happened that the user should hear of (files too large or not
    // readable, modules left out): taken once.
    QStringList takeMessages();

private:
    struct Entry {
        ModuleDocument document;
        bool open = false;
    };
    void readFile(const QString& path);
    void listFolder(const QString& folder, int depth);
    void setDocument(const QString& path, ModuleDocument document, bool open);
    void rebuild();

    std::vector<QString> folders_;
    std::map<QString, Entry> entries_;  // by path
    bool dirty_ = true;
    std::vector<QString> modulePaths_;  // by module number - 1
    std::map<QString, int> moduleOfPath_;
    std::unique_ptr<ProjectScope> scope_;
    std::unique_ptr<NameResolver> resolver_;
    std::map<QString, std::vector<NameReference>> references_;
    std::map<QString, QJsonValue> answers_;
    QStringList messages_;
    QSet<QString> reportedTwice_;  // files left out for a second module of a name, told once
};

// The largest module text the server reads: what a whole project may hold.
qint64 maxModuleText();

}  // namespace lumo::lsp
