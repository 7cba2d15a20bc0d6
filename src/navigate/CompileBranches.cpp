#include "navigate/CompileBranches.h"

#include <optional>

#include "navigate/CodeTokens.h"

namespace lumo {

namespace {

// A condition of conditional compilation, read with the values at hand;
// nothing for what it does not understand.
class ConditionValue {
public:
    ConditionValue(const std::vector<CodeToken>& t, const std::vector<std::pair<QString, int>>& values)
        : t_(t), values_(values) {}
    std::optional<int> read() {
        std::optional<int> v = orExpr();
        if (i_ != t_.size()) return std::nullopt;
        return v;
    }

private:
    std::optional<int> orExpr() {
        std::optional<int> a = andExpr();
        while (a && i_ < t_.size() && (t_[i_].is("Or") || t_[i_].is("Xor"))) {
            const bool isXor = t_[i_++].is("Xor");
            const std::optional<int> b = andExpr();
            if (!b) return std::nullopt;
            a = isXor ? (*a ^ *b) : (*a | *b);
        }
        return a;
    }
    std::optional<int> andExpr() {
        std::optional<int> a = notExpr();
        while (a && i_ < t_.size() && t_[i_].is("And")) {
            ++i_;
            const std::optional<int> b = notExpr();
            if (!b) return std::nullopt;
            a = *a & *b;
        }
        return a;
    }
    std::optional<int> notExpr() {
        if (i_ < t_.size() && t_[i_].is("Not")) {
            ++i_;
            const std::optional<int> a = notExpr();
            return a ? std::optional<int>(~*a) : std::nullopt;
        }
        return compare();
    }
    std::optional<int> compare() {
        std::optional<int> a = atom();
        if (!a || i_ >= t_.size()) return a;
        const QStringView op = t_[i_].text;
        if (op == u"=" || op == u"<" || op == u">") {
            ++i_;
            bool notEqual = false;
            if (op == u"<" && i_ < t_.size() && t_[i_].text == u">") {
                notEqual = true;
                ++i_;
            } else if (op != u"=") {
                return std::nullopt;
            }
            const std::optional<int> b = atom();
            if (!b) return std::nullopt;
            return (notEqual ? *a != *b : *a == *b) ? -1 : 0;
        }
        return a;
    }
    std::optional<int> atom() {
        if (i_ >= t_.size()) return std::nullopt;
        const CodeToken& t = t_[i_++];
        if (t.text == u"(") {
            std::optional<int> v = orExpr();
            if (!v || i_ >= t_.size() || t_[i_].text != u")") return std::nullopt;
            ++i_;
            return v;
        }
        if (t.is("True")) return -1;
        if (t.is("False")) return 0;
        if (!t.word) {
            bool ok = false;
            const int n = t.text.toInt(&ok);
            return ok ? std::optional<int>(n) : std::nullopt;
        }
        for (const auto& [name, value] : values_)
            if (t.text.compare(name, Qt::CaseInsensitive) == 0) return value;
        return 0;  // an undefined constant is 0 (False)
    }

    const std::vector<CodeToken>& t_;
    const std::vector<std::pair<QString, int>>& values_;
    size_t i_ = 0;
};

std::vector<CodeToken> tokensOf(QStringView text) {
    std::vector<CodeToken> t;
    tokenizeLine(text, 1, t);
    return t;
}

// The platform constants that differ between the Offices that have VBA7.
const char* const kFree[] = {"Mac", "Win64", "Win32", "Win16"};

}  // namespace

CompileBranches::CompileBranches(const CodeLines& code) {
    paths_.push_back({});
    pathOf_.assign(size_t(code.count()), 0);
    // Per open #If: the conditions of its branches so far.
    struct Open {
        int outer = 0;  // the path around the #If
        std::vector<QString> before;
    };
    std::vector<Open> open;
    auto enter = [&](std::vector<Term> path) {
        paths_.push_back(std::move(path));
        return int(paths_.size()) - 1;
    };
    int current = 0;
    std::vector<CodeToken> t;
    for (int l = 1; l <= code.count(); ++l) {
        const QStringView line = code.line(l).trimmed();
        pathOf_[size_t(l) - 1] = current;
        if (!line.startsWith(u'#')) continue;
        t.clear();
        tokenizeLine(line, l, t);
        if (t.size() < 2) continue;
        auto condition = [&] {
            QString c;
            for (size_t k = 2; k < t.size() && !t[k].is("Then"); ++k) {
                c += t[k].text;
                c += u' ';
            }
            return c;
        };
        if (t[1].is("If")) {
            Open o{current, {condition()}};
            std::vector<Term> path = paths_[size_t(current)];
            path.push_back({o.before.back(), false});
            open.push_back(std::move(o));
            current = enter(std::move(path));
        } else if ((t[1].is("ElseIf") || t[1].is("Else")) && !open.empty()) {
            Open& o = open.back();
            std::vector<Term> path = paths_[size_t(o.outer)];
            for (const QString& c : o.before) path.push_back({c, true});
            if (t[1].is("ElseIf")) {
                path.push_back({condition(), false});
                o.before.push_back(condition());
            }
            current = enter(std::move(path));
        } else if (t[1].is("End") && !open.empty()) {
            current = open.back().outer;
            open.pop_back();
        } else if (t[1].is("Const") && t.size() >= 5 && t[3].text == u"=") {
            std::vector<CodeToken> value(t.begin() + 4, t.end());
            const std::optional<int> v = ConditionValue(value, constants_).read();
            if (v) constants_.push_back({t[2].text.toString(), *v});
        }
    }
}

bool CompileBranches::compiledUnderVba7(int line) const {
    if (line < 1 || line > int(pathOf_.size())) return true;
    const std::vector<Term>& path = paths_[size_t(pathOf_[size_t(line) - 1])];
    if (path.empty()) return true;
    const int free = int(std::size(kFree));
    for (int mask = 0; mask < (1 << free); ++mask) {
        std::vector<std::pair<QString, int>> values = constants_;
        values.push_back({QStringLiteral("VBA7"), -1});
        values.push_back({QStringLiteral("VBA6"), -1});
        for (int k = 0; k < free; ++k) values.push_back({QString::fromLatin1(kFree[k]), (mask >> k & 1) ? -1 : 0});
        bool taken = true;
        for (const Term& term : path) {
            const std::vector<CodeToken> t = tokensOf(term.condition);
            const std::optional<int> v = ConditionValue(t, values).read();
            if (!v) return true;
            if ((*v != 0) == term.negated) {
                taken = false;
                break;
            }
        }
        if (taken) return true;
    }
    return false;
}

}  // namespace lumo
