#pragma once
// Stands in for the running Office host: the documents and module folders
// the user opened in this program, in the order opened, are its projects.
// Each connection reads them again from disk, so edits show after a refresh.
#include <limits>

#include <QHash>
#include <QStringList>

#include "acquire/HostInterface.h"
#include "acquire/VbaProjectData.h"

namespace lumo {

class Ui;

// A host over projects already read; also what tests script.
std::unique_ptr<HostApplication> makeProjectHost(std::vector<VbaProjectData> projects, QString version);

class DocumentHost : public HostConnector {
public:
    // Problems with documents are reported through ui (may be null: not reported).
    explicit DocumentHost(Ui* ui = nullptr) : ui_(ui) {}

    // Appended unless already open; either way its problems are reported
    // at the next connection, also when they were reported before.
    void open(const QString& path);
    void close(const QString& path);
    const QStringList& documents() const { return documents_; }
    // What module files may hold together per connection. Unbounded by
    // default: the window lists every module of a folder and holds only what
    // is ticked to the budget; a reader that keeps all it reads sets one.
    void setModuleTextBudget(qint64 bytes) { moduleTextBudget_ = bytes; }

    // Reads every document. Those that cannot be read, or only in part, are
    // named with the reason in one message. A document's problems are told
    // once: again only when they change or the document is opened again, so
    // that each open reports its own failures and a refresh no others.
    // Fails (HostError) when no document is open.
    std::unique_ptr<HostApplication> connect() override;

    // The last connection's report of every document with problems (also
    // those not shown again), empty when all went well.
    const QString& lastReport() const { return lastReport_; }
    // The same, one line per problem ("path: what").
    const QStringList& lastProblems() const { return lastProblems_; }
    // The documents the last connection could not read at all.
    const QStringList& failedDocuments() const { return failed_; }
    // The documents the last connection read without some of their modules.
    const QStringList& partlyReadDocuments() const { return partlyRead_; }
    // The documents the last connection read but whose project the listing
    // leaves out whole (locked, or nothing but components without code).
    const QStringList& unlistedDocuments() const { return unlisted_; }

private:
    Ui* ui_;
    qint64 moduleTextBudget_ = std::numeric_limits<qint64>::max();
    QStringList documents_;
    QString lastReport_;
    QStringList lastProblems_;
    QStringList failed_, partlyRead_, unlisted_;
    QHash<QString, QStringList> told_;  // per document, the problems reported last
};

// What the host opens for a path given by the user: an exported module
// (.bas, .cls, .frm, any case) stands for the folder of modules it lies in;
// anything else for itself. Absolute.
QString documentTargetOf(const QString& path);

// The one message about unreadable documents; empty when there is nothing to say.
QString unreadableDocumentsMessage(const QStringList& lines);

}  // namespace lumo
