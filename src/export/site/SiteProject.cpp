#include "export/site/SiteProject.h"

#include <algorithm>
#include <array>

#include <QRegularExpression>
#include <QSet>

#include "base/CaseFold.h"
#include "export/site/PageBytes.h"
#include "export/site/SiteCode.h"
#include "model/Codes.h"
#include "model/WorkingStore.h"
#include "navigate/NameResolver.h"
#include "navigate/NameUses.h"

namespace lumo {

SiteProject::SiteProject(WorkingStore& store, const std::function<void(int, int)>& progress) {
    modules_ = modulesByNumber(store);
    if (!modules_.empty()) routines_ = routinesOfModulesByStart(store, modules_.front().number, modules_.back().number);
    routineCounts_.resize(modules_.size());
    for (const ModuleRow& m : modules_) {
        pages_.push_back(modulePageName(m));
        pageBytes_.push_back(pages_.back().toUtf8());
        namesHtml_.push_back(escapedBytes(m.name));
        moduleTexts_.push_back({"<a href=\"" + pageBytes_.back() + "#L", "\">" + namesHtml_.back() + ", Zeile "});
    }
    std::vector<QByteArray> texts(modules_.size());
    for (size_t i = 0; i < modules_.size(); ++i) {
        try {
            texts[i] = store.readModuleBytes(modules_[i].number);
        } catch (const StoreError& e) {
            unreadable_ << QStringLiteral("%1: %2").arg(modules_[i].name, QString::fromUtf8(e.what()));
        }
    }
    scope_ = ProjectScope::of(modules_, routines_, std::move(texts));
    // Routines come module by module: names are told apart within one.
    QHash<QString, int> taken;  // folded name -> routines of that name so far
    QSet<QString> declared;    // "type/folded name" of external declarations
    int module = 0;
    routineTexts_.reserve(routines_.size());
    for (const RoutineRow& r : routines_) {
        if (r.module != module) {
            module = r.module;
            taken.clear();
            declared.clear();
        }
        const QString folded = caseFolded(r.name);
        if (isDeclaration(r.type)) {
            const QString d = QString::number(r.type) + u'/' + folded;
            if (declared.contains(d)) repeated_.insert(r.number);
            else declared.insert(d);
        }
        if (!repeated_.contains(r.number)) ++routineCounts_[size_t(r.module) - 1];
        const int n = ++taken[folded];
        RoutineTexts texts;
        texts.anchor = QStringLiteral("r-") + r.name;
        if (n > 1) texts.anchor += u'-' + QString::number(n);
        PageBytes html(64 + 8 * r.name.size());
        html.addEscaped(texts.anchor);
        texts.anchorHtml = html.bytes().toByteArray();
        html.clear();
        html.add("\">");
        html.add(namesHtml_[size_t(r.module) - 1]);
        html.add('.');
        html.addEscaped(r.name);
        html.add(", Zeile ");
        texts.callLabel = html.bytes().toByteArray();
        routineTexts_.push_back(std::move(texts));
    }
    writeCode(progress);
}

// The links of one module's names, as the resolver binds each where it
// stands: a name leads where Definition (F8) leads from there; its
// declaration, a name bound to several declarations (a member of an object
// of unknown class) and a name the project does not declare link nowhere.
class SiteProject::ModuleLinks : public SiteCodeLinks {
public:
    struct Name {
        QString text;
        QByteArray href;
    };
    std::vector<std::vector<Name>> byLine;  // line - 1: the names of the line in text order
    std::vector<size_t> next;               // the first name of each line not yet asked for

    QByteArrayView link(QStringView word, int line) override {
        if (line < 1 || size_t(line) > byLine.size()) return {};
        std::vector<Name>& names = byLine[size_t(line) - 1];
        // The writer offers the words of plain code in text order, a few
        // (keywords) fewer than the resolver reads.
        for (size_t k = next[size_t(line) - 1]; k < names.size(); ++k) {
            if (names[k].text != word) continue;
            next[size_t(line) - 1] = k + 1;
            return names[k].href;
        }
        return {};
    }
};

namespace {

bool bindsToOne(const Resolution& r, int module, std::pair<int, int>& target) {
    if (r.kind != UseKind::Use && r.kind != UseKind::ReturnValue) return false;
    if (r.targets.empty()) return false;
    const Declaration& first = r.targets.front();
    for (const Declaration& d : r.targets)
        if (d.module != first.module) return false;  // several modules: only the reader can choose
    // Within one module a routine before anything else, as Definition offers it.
    const auto routine = std::find_if(r.targets.begin(), r.targets.end(),
                                      [](const Declaration& d) { return d.kind == DeclarationKind::Routine; });
    const Declaration& d = routine != r.targets.end() ? *routine : first;
    (void)module;
    target = {d.module, d.line};
    return true;
}

}  // namespace

// Every module's code as its page shows it, and who calls each routine:
// one walk over every name of the project, module by module, gives both.
void SiteProject::writeCode(const std::function<void(int, int)>& progress) {
    NameResolver resolver(*scope_);
    scope_->readAllParts();
    calls_.assign(routines_.size(), {});
    QHash<qint32, size_t> routineIndex;
    for (size_t k = 0; k < routines_.size(); ++k) routineIndex.insert(routines_[k].number, k);
    PageBytes code(1 << 20);
    codes_.resize(modules_.size());
    moduleDocs_.resize(modules_.size());
    auto routine = routines_.cbegin();
    for (size_t i = 0; i < modules_.size(); ++i) {
        if (progress) progress(int(i) + 1, int(modules_.size()));
        const int module = modules_[i].number;
        // Anchors by line, those of one line in the order of the routines.
        std::vector<SiteAnchor> anchors;
        const auto first = routine;
        for (; routine != routines_.cend() && routine->module == module; ++routine)
            anchors.push_back({routine->start, routineTexts_[indexOf(*routine)].anchorHtml});
        std::stable_sort(anchors.begin(), anchors.end(),
                         [](const SiteAnchor& a, const SiteAnchor& b) { return a.line < b.line; });
        if (scope_->text(module).isEmpty()) continue;
        const int lineCount = scope_->code(module).count();
        writeDocs(module, lineCount, first, routine);
        ModuleLinks links;
        links.byLine.resize(size_t(lineCount));
        links.next.assign(size_t(lineCount), 0);
        QHash<QPair<int, int>, QByteArray> hrefs;  // module, line -> the link's text
        resolver.forEachName(module, [&](int line, const Resolution& r) {
            const QStringView text = scope_->code(module).line(line).sliced(r.column - 1, r.length);
            QByteArray href;
            std::pair<int, int> target;
            if (bindsToOne(r, module, target)) {
                auto h = hrefs.find({target.first, target.second});
                if (h == hrefs.end()) {
                    PageBytes bytes(32);
                    if (target.first != module) bytes.add(pageBytes_[size_t(target.first) - 1]);
                    bytes.add("#L");
                    bytes.addNumber(target.second);
                    h = hrefs.insert({target.first, target.second}, bytes.take());
                }
                href = *h;
            }
            links.byLine[size_t(line) - 1].push_back({text.toString(), href});
            // A use of a routine is a call of it; a function's own return value is none.
            if (r.kind != UseKind::Use) return;
            const RoutineRow* around = scope_->routineAt(module, line);
            for (const Declaration& d : r.targets) {
                if (d.kind != DeclarationKind::Routine) continue;
                const auto at = routineIndex.constFind(d.routine);
                if (at == routineIndex.cend()) continue;
                std::vector<SiteCall>& list = calls_[*at];
                if (!list.empty() && list.back().module == module && list.back().line == line) continue;
                list.push_back({module, line, around ? &routines_[routineIndex.value(around->number)] : nullptr});
            }
        });
        code.clear();
        writeSiteCode(code, QString::fromUtf8(scope_->text(module)), links, anchors);
        codes_[i] = {code.bytes().toByteArray(), true};
        scope_->forget(module);
    }
    scope_.reset();
}

// Signatures and documentation comments, read while the module's lines are at hand.
void SiteProject::writeDocs(int module, int lineCount, std::vector<RoutineRow>::const_iterator from,
                            std::vector<RoutineRow>::const_iterator to) {
    const auto lineText = [&](int n) { return shownLineOf(*scope_, module, n); };
    moduleDocs_[size_t(module) - 1] = moduleDocumentation(lineText, from != to ? from->start : lineCount + 1);
    for (auto r = from; r != to; ++r) {
        if (r->start < 1 || r->start > lineCount) continue;
        RoutineTexts& texts = routineTexts_[indexOf(*r)];
        // The stored head count may be short of a head continued with " _".
        const int headLines = std::max(scope_->headLastLine(*r) - r->start + 1, 1);
        QStringList head;
        for (int n = r->start; n < r->start + headLines && n <= lineCount; ++n) {
            QString line = lineText(n);
            while (!line.isEmpty() && line.back().isSpace()) line.chop(1);
            head << line;
        }
        if (!head.isEmpty()) head.front() = head.front().trimmed();
        texts.signature = head.join(u'\n');
        texts.doc = documentationAt(lineText, r->start, headLines, lineCount);
    }
}

std::optional<std::vector<SiteCall>> SiteProject::callers(const RoutineRow& routine) const {
    // As the caller search: a property's callers are not listed.
    if (isProperty(routine.type)) return std::nullopt;
    return calls_[indexOf(routine)];
}

size_t SiteProject::indexOf(const RoutineRow& routine) const {
    Q_ASSERT(&routine >= routines_.data() && &routine < routines_.data() + routines_.size());
    return size_t(&routine - routines_.data());
}

QString modulePageName(const ModuleRow& module) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    // File systems take names of up to 255 bytes: a longer module name is
    // cut and told apart from others cut alike by its number.
    constexpr qsizetype kLongest = 200;
    QString part = plain.match(module.name).hasMatch() ? module.name : QString::number(module.number);
    if (part.size() > kLongest) part = part.left(kLongest) + u'-' + QString::number(module.number);
    return QStringLiteral("modul-") + part + QStringLiteral(".html");
}

}  // namespace lumo
