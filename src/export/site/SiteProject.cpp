#include "export/site/SiteProject.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <future>

#include <QRegularExpression>
#include <QSet>

#include "base/CaseFold.h"
#include "export/site/PageBytes.h"
#include "export/site/SiteCode.h"
#include "model/Codes.h"
#include "model/WorkingStore.h"

namespace lumo {

SiteProject::SiteProject(WorkingStore& store, const std::function<void(int, int)>& progress) {
    modules_ = modulesByNumber(store);
    if (!modules_.empty()) routines_ = routinesOfModulesByStart(store, modules_.front().number, modules_.back().number);
    texts_.resize(modules_.size());
    routineCounts_.resize(modules_.size());
    for (const ModuleRow& m : modules_) {
        pages_.push_back(modulePageName(m));
        pageBytes_.push_back(pages_.back().toUtf8());
        namesHtml_.push_back(escapedBytes(m.name));
        moduleTexts_.push_back({"<a href=\"" + pageBytes_.back() + "#L", "\">" + namesHtml_.back() + ", Zeile "});
    }
    for (size_t i = 0; i < modules_.size(); ++i) {
        try {
            texts_[i] = store.readModuleText(modules_[i].number);
        } catch (const StoreError& e) {
            unreadable_ << QStringLiteral("%1: %2").arg(modules_[i].name, QString::fromUtf8(e.what()));
        }
    }
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
    indexDefinitions(projectDeclarations(store, modules_, routines_, texts_));
    writeCode(progress);
}

// The words of one module's code: a page names the same few words again
// and again, and each is looked up once.
class SiteProject::ModuleWords : public SiteCodeLinks {
public:
    ModuleWords(const SiteProject& project, int module) : project_(project), module_(module) {}

    QByteArrayView link(QStringView text, int line) override {
        const Word& word = words_[size_t(find(text))];
        // The declaration itself links nowhere.
        if (word.href.isEmpty() || (word.module == module_ && word.line == line)) return {};
        return word.href;
    }

private:
    struct Word {
        int module = 0;
        int line = 0;
        QByteArray href;
    };

    qsizetype lookUp(QStringView text) {
        Word word;
        if (const auto target = project_.definition(text, module_)) {
            word.module = target->first;
            word.line = target->second;
            PageBytes href(32);
            if (target->first != module_) href.add(project_.pageBytes(target->first));
            href.add("#L");
            href.addNumber(target->second);
            word.href = href.take();
        }
        words_.push_back(std::move(word));
        return qsizetype(words_.size() - 1);
    }

    // The word's place in words_, looked up first. An open table of its
    // own: a hash of the characters is cheaper than qHash's for words this
    // short, and most words of a page have been met before.
    static size_t hashOf(QStringView text) {
        size_t hash = 14695981039346656037ULL;
        for (const QChar c : text) hash = (hash ^ c.unicode()) * 1099511628211ULL;
        return hash;
    }

    qsizetype find(QStringView text) {
        const size_t mask = slots_.size() - 1;
        for (size_t at = hashOf(text) & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (slot.word < 0) {
                slot = {text, lookUp(text)};
                if (2 * words_.size() > slots_.size()) grow();
                return words_.size() - 1;
            }
            if (slot.text.size() == text.size() &&
                std::equal(text.begin(), text.end(), slot.text.begin()))
                return slot.word;
        }
    }

    void grow() {
        std::vector<Slot> old(2 * slots_.size());
        old.swap(slots_);
        const size_t mask = slots_.size() - 1;
        for (const Slot& s : old) {
            if (s.word < 0) continue;
            size_t at = hashOf(s.text) & mask;
            while (slots_[at].word >= 0) at = (at + 1) & mask;
            slots_[at] = s;
        }
    }

    struct Slot {
        QStringView text;  // in the module's text
        qsizetype word = -1;
    };

    const SiteProject& project_;
    const int module_;
    std::vector<Slot> slots_ = std::vector<Slot>(1024);
    std::vector<Word> words_;
};

// Every module's code as its page shows it, and the caller index: the
// callers of a routine on the first page come from the code of all. The
// index reads the code beside the writing, on a thread of its own where
// one can be had; a module's text is let go once both have passed it.
void SiteProject::writeCode(const std::function<void(int, int)>& progress) {
    calls_ = std::make_unique<CallerIndex>(routines_);
    std::atomic<size_t> indexed{0};  // the modules the index has read
    std::atomic<bool> stop{false};
    std::future<void> indexing = std::async(std::launch::async | std::launch::deferred, [&] {
        for (size_t i = 0; i < modules_.size() && !stop.load(std::memory_order_relaxed); ++i) {
            if (!texts_[i].isEmpty()) calls_->addModule(modules_[i].number, texts_[i]);
            indexed.store(i + 1, std::memory_order_release);
        }
    });
    PageBytes code(1 << 20);
    codes_.resize(modules_.size());
    auto routine = routines_.cbegin();
    size_t released = 0;  // the texts let go
    try {
        for (size_t i = 0; i < modules_.size(); ++i) {
            if (progress) progress(int(i) + 1, int(modules_.size()));
            const int module = modules_[i].number;
            // Anchors by line, those of one line in the order of the routines.
            std::vector<SiteAnchor> anchors;
            for (; routine != routines_.cend() && routine->module == module; ++routine)
                anchors.push_back({routine->start, routineTexts_[indexOf(*routine)].anchorHtml});
            std::stable_sort(anchors.begin(), anchors.end(),
                             [](const SiteAnchor& a, const SiteAnchor& b) { return a.line < b.line; });
            if (texts_[i].isEmpty()) continue;
            code.clear();
            ModuleWords words(*this, module);
            writeSiteCode(code, texts_[i], words, anchors);
            codes_[i] = {code.bytes().toByteArray(), true};
            // Their room serves the code of the next.
            for (const size_t upTo = std::min(i + 1, indexed.load(std::memory_order_acquire)); released < upTo; ++released)
                texts_[released] = QString();
        }
    } catch (...) {
        stop = true;  // the index is not asked; its thread ends before the texts go
        throw;
    }
    indexing.get();
    texts_.clear();
}

// The answers of definitionCandidates, first of each: from a module that
// declares the name its own declaration, whatever its visibility; from any
// other the first module with a public routine of that name, else the
// first module of that name, else the first with another public
// declaration of it.
void SiteProject::indexDefinitions(const std::vector<Declaration>& declarations) {
    // The declarations come by module, then line: each name's answers are
    // settled as they pass, module by module.
    struct Building {
        bool ownIsRoutine = false;
        int offeredIn = 0;  // the module of `offered`, 0 before the first public declaration
        std::pair<int, int> offered;
        DeclarationKind offeredKind = DeclarationKind::Variable;
        std::optional<std::pair<int, int>> routine, module, other;
        void settle() {
            if (offeredIn == 0) return;
            auto& slot = offeredKind == DeclarationKind::Routine  ? routine
                         : offeredKind == DeclarationKind::Module ? module
                                                                  : other;
            if (!slot) slot = offered;
        }
    };
    std::vector<Building> building;
    building.reserve(declarations.size());
    targets_.reserve(declarations.size());
    targetOf_.reserve(qsizetype(declarations.size()));
    char16_t buffer[64];
    for (const Declaration& d : declarations) {
        const QString name = caseFolded(d.name, buffer);
        auto at = targetOf_.constFind(name);
        if (at == targetOf_.cend()) {
            at = targetOf_.insert(QString(name.constData(), name.size()), int(targets_.size()));
            targets_.emplace_back();
            building.emplace_back();
        }
        Targets& t = targets_[size_t(at.value())];
        Building& b = building[size_t(at.value())];
        const bool routine = d.kind == DeclarationKind::Routine;
        if (t.own.empty() || t.own.back().first != d.module) {
            t.own.push_back({d.module, d.line});
            b.ownIsRoutine = routine;
        } else if (!b.ownIsRoutine && routine) {
            t.own.back().second = d.line;
            b.ownIsRoutine = true;
        }
        if (!d.isPublic) continue;
        if (b.offeredIn != d.module) {
            b.settle();
            b = Building{b.ownIsRoutine, d.module, {d.module, d.line}, d.kind, b.routine, b.module, b.other};
        } else if (b.offeredKind != DeclarationKind::Routine && routine) {
            b.offered = {d.module, d.line};
            b.offeredKind = d.kind;
        }
    }
    for (size_t i = 0; i < targets_.size(); ++i) {
        Building& b = building[i];
        b.settle();
        targets_[i].elsewhere = b.routine ? b.routine : b.module ? b.module : b.other;
    }
}

size_t SiteProject::indexOf(const RoutineRow& routine) const {
    Q_ASSERT(&routine >= routines_.data() && &routine < routines_.data() + routines_.size());
    return size_t(&routine - routines_.data());
}


std::optional<std::pair<int, int>> SiteProject::definition(QStringView name, int module) const {
    char16_t buffer[64];
    const auto at = targetOf_.constFind(caseFolded(name, buffer));
    if (at == targetOf_.cend()) return std::nullopt;
    const Targets& t = targets_[size_t(at.value())];
    const auto& own = t.own;
    const auto mine = std::lower_bound(own.begin(), own.end(), module,
                                       [](const std::pair<int, int>& o, int m) { return o.first < m; });
    if (mine != own.end() && mine->first == module) return *mine;
    return t.elsewhere;
}

QString modulePageName(const ModuleRow& module) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    const QString part = plain.match(module.name).hasMatch() ? module.name : QString::number(module.number);
    return QStringLiteral("modul-") + part + QStringLiteral(".html");
}

}  // namespace lumo
