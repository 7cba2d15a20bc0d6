#pragma once
// A project read once for its website: modules, routines, every declared
// name, each module's code as its page shows it, and who calls each
// routine (navigate's caller index, reading the code beside the pages).
// The links of the site give the answers the window gives: a name leads
// where Definition (F8) jumps, a routine lists the lines the caller search
// finds.
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "model/CodeDatabase.h"
#include "navigate/CommentBlock.h"
#include "navigate/ProjectScope.h"
#include "navigate/Declarations.h"

namespace lumo {

class WorkingStore;

// A line that calls a routine, and the routine covering it (nullptr outside every routine).
struct SiteCall {
    int module = 0;
    int line = 0;
    const RoutineRow* in = nullptr;  // among routines()
};

class SiteProject {
public:
    // Reads the store; a module text that cannot be read is named in
    // unreadable() and shown without code. `progress` is called before each
    // module's code is written, the bulk of the work (done of total); what it
    // throws ends the reading. Throws StoreError (the tables).
    explicit SiteProject(WorkingStore& store, const std::function<void(int done, int total)>& progress = {});

    const std::vector<ModuleRow>& modules() const { return modules_; }  // by number
    const std::vector<RoutineRow>& routines() const { return routines_; }  // by module, then first line
    // Whether module `module` (1-based) has a text: false for one not read.
    bool hasText(int module) const { return codes_[size_t(module) - 1].hasText; }
    const QStringList& unreadable() const { return unreadable_; }
    // modulePageName of module `module` (1-based), and as the bytes of a page.
    const QString& pageOf(int module) const { return pages_[size_t(module) - 1]; }
    const QByteArray& pageBytes(int module) const { return pageBytes_[size_t(module) - 1]; }
    // The code of module `module` as the inside of its page's <pre> element
    // ("" for one not read).
    const QByteArray& codeHtml(int module) const { return codes_[size_t(module) - 1].html; }
    // The name of module `module` escaped for a page.
    const QByteArray& nameHtml(int module) const { return namesHtml_[size_t(module) - 1]; }

    // The anchor of a routine on its module's page: "r-" + its name, a
    // second routine of that name in the module (a Property Let beside a
    // Get) with "-2" after it, and so on. anchorHtml: escaped for a page.
    const QString& anchorOf(const RoutineRow& routine) const { return routineTexts_[indexOf(routine)].anchor; }
    const QByteArray& anchorHtml(const RoutineRow& routine) const { return routineTexts_[indexOf(routine)].anchorHtml; }

    // The head of a routine as written (its lines joined by "\n"), and what
    // its comments say of it (the documentation conventions of CommentBlock).
    const QString& signatureOf(const RoutineRow& routine) const { return routineTexts_[indexOf(routine)].signature; }
    const DocComment& docOf(const RoutineRow& routine) const { return routineTexts_[indexOf(routine)].doc; }
    // What the comments of module `module` (1-based) say of it.
    const DocComment& moduleDoc(int module) const { return moduleDocs_[size_t(module) - 1]; }

    // An external declaration that its module declared before under
    // another branch of #If: listed once, with the first.
    bool repeats(const RoutineRow& routine) const { return repeated_.contains(routine.number); }
    // The routines as the site lists them, each declaration once.
    int routineCount() const { return int(routines_.size() - size_t(repeated_.size())); }
    // The same of module `module` (1-based).
    int routineCount(int module) const { return routineCounts_[size_t(module) - 1]; }

    // A call as its link begins and goes on after the line number:
    // "<a href=\"modul-Haupt.html#L" and "\">Haupt.Start, Zeile ", escaped.
    const QByteArray& callLinkStart(int module) const { return moduleTexts_[size_t(module) - 1].linkStart; }
    const QByteArray& callLabel(const SiteCall& call) const {
        // A routine without a name (a damaged store) is left out as the caller tree leaves it.
        return call.in && !call.in->name.isEmpty() ? routineTexts_[indexOf(*call.in)].callLabel
                                                    : moduleTexts_[size_t(call.module) - 1].callLabel;
    }

    // The calls of routine `routine` as the caller search finds them;
    // nothing for a routine it does not search (a property).
    std::optional<std::vector<SiteCall>> callers(const RoutineRow& routine) const;

private:
    // The place of a row of routines() among them.
    size_t indexOf(const RoutineRow& routine) const;
    class ModuleLinks;
    void writeCode(const std::function<void(int, int)>& progress);
    void writeDocs(int module, int lineCount, std::vector<RoutineRow>::const_iterator from,
                   std::vector<RoutineRow>::const_iterator to);

    std::vector<ModuleRow> modules_;
    std::vector<RoutineRow> routines_;
    std::unique_ptr<ProjectScope> scope_;  // until the code is written
    std::vector<QString> pages_;
    std::vector<QByteArray> pageBytes_;
    std::vector<QByteArray> namesHtml_;
    std::vector<int> routineCounts_;
    QStringList unreadable_;
    struct Code {
        QByteArray html;
        bool hasText = false;
    };
    std::vector<Code> codes_;
    std::vector<std::vector<SiteCall>> calls_;  // as routines_: the lines that call each
    struct RoutineTexts {
        QString anchor;
        QByteArray anchorHtml;
        QByteArray callLabel;
        QString signature;
        DocComment doc;
    };
    std::vector<RoutineTexts> routineTexts_;  // as routines_
    struct ModuleTexts {
        QByteArray linkStart;
        QByteArray callLabel;  // of a call outside every routine
    };
    std::vector<ModuleTexts> moduleTexts_;
    std::vector<DocComment> moduleDocs_;
    QSet<qint32> repeated_;
};

// The page of a module: "modul-" + its name when that is a plain ASCII
// name, else "modul-" + its number; ".html". A name over 200 characters is
// cut there and its number added.
QString modulePageName(const ModuleRow& module);

}  // namespace lumo
