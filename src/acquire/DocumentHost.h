#pragma once
// Stands in for the running Office host: the documents and module folders
// the user opened in this program, in the order opened, are its projects.
// Each connection reads them again from disk, so edits show after a refresh.
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

    void open(const QString& path);  // appended unless already open
    void close(const QString& path);
    const QStringList& documents() const { return documents_; }

    // Reads every document. Those that cannot be read are left out and named,
    // with the reason, in one message; a set of problems already reported at
    // the previous connection is not reported again. Fails (HostError) when
    // no document is open.
    std::unique_ptr<HostApplication> connect() override;

    // The last connection's report, empty when all went well.
    const QString& lastReport() const { return lastReport_; }

private:
    Ui* ui_;
    QStringList documents_;
    QString lastReport_;
};

// What the host opens for a path given by the user: an exported module
// (.bas, .cls, .frm, any case) stands for the folder of modules it lies in;
// anything else for itself. Absolute.
QString documentTargetOf(const QString& path);

// The one message about unreadable documents; empty when there is nothing to say.
QString unreadableDocumentsMessage(const QStringList& lines);

}  // namespace lumo
