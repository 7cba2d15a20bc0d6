#include "acquire/DocumentHost.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "acquire/OfficeListing.h"
#include "acquire/OfficeReader.h"
#include "acquire/ProjectSource.h"
#include "acquire/ReadBudget.h"
#include "base/SystemErrors.h"
#include "base/Ui.h"

namespace lumo {

namespace {

class ModuleComponent : public HostComponent {
public:
    explicit ModuleComponent(VbaModule m) : module_(std::move(m)) {}
    QString name() const override { return module_.name; }
    int type() const override { return module_.type; }
    int countOfLines() const override { return module_.code.lineCount(); }
    QString lines(int start, int count) const override {
        const int n = module_.code.lineCount();
        if (start < 1 || count < 0 || start > n + 1 || count > n - start + 1)
            throw HostError(QStringLiteral("Ungültiger Zeilenbereich %1 bis %2 im Modul %3 (es hat %4 Zeilen).")
                                .arg(start)
                                .arg(start + count - 1)
                                .arg(module_.name)
                                .arg(n));
        return module_.code.lines(start, count);
    }

private:
    VbaModule module_;
};

class DocumentProject : public HostProject {
public:
    explicit DocumentProject(VbaProjectData p) : fileName_(p.fileName), name_(p.name), locked_(p.locked) {
        for (VbaModule& m : p.modules) {
            byName_.insert(m.name.toLower(), int(components_.size()));
            components_.push_back(std::make_unique<ModuleComponent>(std::move(m)));
        }
    }
    QString fileName() const override {
        if (fileName_.isEmpty()) throw HostError(QStringLiteral("Das Dokument wurde noch nicht gespeichert."));
        return fileName_;
    }
    QString name() const override { return name_; }
    bool protection() const override { return locked_; }
    int componentCount() const override { return int(components_.size()); }
    HostComponent& component(int position) override {
        if (position < 1 || position > int(components_.size()))
            throw HostError(QStringLiteral("Das Projekt %1 hat keine Komponente Nummer %2.").arg(name_).arg(position));
        return *components_[std::size_t(position - 1)];
    }
    HostComponent& component(const QString& name) override {
        const auto it = byName_.constFind(name.toLower());
        if (it != byName_.constEnd()) return *components_[std::size_t(it.value())];
        throw HostError(QStringLiteral("Das Projekt %1 hat keine Komponente %2.").arg(name_, name));
    }

private:
    QString fileName_, name_;
    bool locked_;
    std::vector<std::unique_ptr<ModuleComponent>> components_;
    QHash<QString, int> byName_;  // lower-case name to position
};

class ProjectHost : public HostApplication {
public:
    ProjectHost(std::vector<VbaProjectData> projects, QString version) : version_(std::move(version)) {
        for (VbaProjectData& p : projects) projects_.push_back(std::make_unique<DocumentProject>(std::move(p)));
    }
    QString version() const override { return version_; }
    int projectCount() const override { return int(projects_.size()); }
    HostProject& project(int position) override {
        if (position < 1 || position > int(projects_.size()))
            throw HostError(QStringLiteral("Es gibt kein Projekt Nummer %1.").arg(position));
        return *projects_[std::size_t(position - 1)];
    }

private:
    QString version_;
    std::vector<std::unique_ptr<DocumentProject>> projects_;
};

}  // namespace

std::unique_ptr<HostApplication> makeProjectHost(std::vector<VbaProjectData> projects, QString version) {
    return std::make_unique<ProjectHost>(std::move(projects), std::move(version));
}

void DocumentHost::open(const QString& path) {
    // Without a trailing "/": a folder is named after its last component.
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!documents_.contains(full)) documents_.append(full);
    told_.remove(full);
}

void DocumentHost::close(const QString& path) {
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    documents_.removeAll(full);
    told_.remove(full);
}

QString unreadableDocumentsMessage(const QStringList& lines) {
    if (lines.isEmpty()) return {};
    return QStringLiteral("Folgende Dokumente konnten nicht oder nicht vollständig gelesen werden:\r\n\r\n") +
           lines.join(QLatin1String("\r\n"));
}

std::unique_ptr<HostApplication> DocumentHost::connect() {
    if (documents_.isEmpty()) throw HostError(QStringLiteral("Es ist kein Dokument geöffnet."));
    std::vector<VbaProjectData> projects;
    QStringList report, shownNow;
    failed_.clear();
    partlyRead_.clear();
    unlisted_.clear();
    // Every document open is one read: together they stay within what one
    // project may hold; module files to moduleTextBudget_.
    ReadBudget budget;
    budget.moduleTextLeft = budget.moduleTextLimit = moduleTextBudget_;
    for (const QString& path : documents_) {
        const QString shown = QDir::toNativeSeparators(path);
        QStringList problems;
        const qint64 textBefore = budget.textLeft, moduleTextBefore = budget.moduleTextLeft;
        try {
            VbaProjectData p = readProjectSource(path, budget);
            p.fileName = path;
            problems = p.problems;
            if (!problems.isEmpty()) partlyRead_ << path;
            // The listing leaves a locked project out without a word, as the
            // host's own editor would; the user learns why here.
            if (p.locked) {
                problems << QStringLiteral("Das VBA-Projekt ist mit einem Kennwort für die Anzeige gesperrt und "
                                           "wird nicht aufgeführt.");
                unlisted_ << path;
            } else if (std::none_of(p.modules.begin(), p.modules.end(),
                                    [](const VbaModule& m) {
                                        return listedComponent(m.code.lineCount(), m.code.text());
                                    })) {
                // So does it with components of 2 lines or fewer without code.
                problems << QStringLiteral("Das VBA-Projekt hat nur Komponenten ohne Code mit höchstens 2 Zeilen "
                                           "(etwa ein leeres ThisDocument) und wird nicht aufgeführt.");
                unlisted_ << path;
            }
            projects.push_back(std::move(p));
        } catch (const ReadError& e) {
            problems << e.message();
            failed_ << path;
            budget.textLeft = textBefore;  // nothing of it is kept
            budget.moduleTextLeft = moduleTextBefore;
        } catch (const std::exception& e) {
            budget.textLeft = textBefore;
            budget.moduleTextLeft = moduleTextBefore;
            problems << QStringLiteral("Die Datei kann nicht gelesen werden (%1).")
                            .arg(germanSystemText(QString::fromLocal8Bit(e.what())));
            failed_ << path;
        }
        QStringList lines;
        for (const QString& problem : problems) lines << shown + QLatin1String(": ") + problem;
        report << lines;
        const auto told = told_.constFind(path);
        if (told == told_.constEnd() || *told != lines) shownNow << lines;
        told_.insert(path, lines);
    }
    lastProblems_ = report;
    lastReport_ = unreadableDocumentsMessage(report);
    const QString message = unreadableDocumentsMessage(shownNow);
    if (ui_ && !message.isEmpty()) ui_->message(message, {}, MsgIcon::Warning);
    return makeProjectHost(std::move(projects), officeReaderVersion());
}

QString documentTargetOf(const QString& path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (info.isFile() &&
        (suffix == QLatin1String("bas") || suffix == QLatin1String("cls") || suffix == QLatin1String("frm")))
        return info.absolutePath();
    return info.absoluteFilePath();
}

}  // namespace lumo
