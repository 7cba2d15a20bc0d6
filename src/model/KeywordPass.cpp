#include "model/KeywordPass.h"

#include <vector>

#include <QHash>
#include <QStringList>

#include "model/Keywords.h"
#include "model/Tags.h"

namespace lumo {

void keywordPassByReplacement(QString& text) {
    for (const QString& entry : keywordEntries()) text.replace(entry, taggedKeywordEntry(entry));
}

// Why one scan gives what the 111 replacements give:
// - A replacement keeps the spaces around its entry, so after any pass every
//   space of the text is still a space and the text is still a sequence of
//   tokens separated by single spaces. An entry " W " matches exactly a token
//   equal to W; an entry of several words matches that many neighbouring
//   tokens.
// - A token, once tagged, equals no word any more, and no two single-word
//   entries share a word; so single-word passes do not see each other, and
//   the several-word entries (all beginning with "Option", which is no
//   entry of its own) only have to run first, in list order.
// - Within one pass the occurrences do not overlap, scanning left to right:
//   a match uses up the space after it, so an occurrence that starts with
//   that same space is skipped; the one after it is found again.
void keywordPass(QString& text) {
    struct Multi {
        QStringList words;
    };
    static const auto tables = [] {
        struct Tables {
            std::vector<Multi> multi;         // in list order
            QStringList words;                // storage of the single words
            QHash<QStringView, int> single;   // word -> entry index
        } t;
        const QStringList& entries = keywordEntries();
        for (int i = 0; i < entries.size(); ++i) {
            const QStringList words = entries[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (words.size() > 1) t.multi.push_back({words});
            else t.words << words.first();
        }
        t.words.squeeze();
        for (const QString& w : t.words) {
            const int index = int(entries.indexOf(QLatin1Char(' ') + w + QLatin1Char(' ')));
            t.single.insert(QStringView(w), index);
        }
        return t;
    }();

    const QStringView view(text);
    std::vector<QStringView> tokens;
    tokens.reserve(size_t(text.size() / 4 + 1));
    qsizetype start = 0;
    for (qsizetype i = 0; i < view.size(); ++i) {
        if (view[i] == QLatin1Char(' ')) {
            tokens.push_back(view.mid(start, i - start));
            start = i + 1;
        }
    }
    tokens.push_back(view.mid(start));
    const size_t n = tokens.size();

    // Which tokens become keywords. A token needs a space on both sides:
    // the first and the last token have none on one side.
    std::vector<char> tagged(n, 0);

    for (const Multi& m : tables.multi) {
        const size_t k = size_t(m.words.size());
        size_t lastEnd = 0;  // token after which the previous match's space was used up
        bool any = false;
        for (size_t t = 1; t + k < n; ++t) {
            if (any && t == lastEnd + 1) continue;
            bool hit = true;
            for (size_t w = 0; w < k && hit; ++w) hit = !tagged[t + w] && tokens[t + w] == m.words[qsizetype(w)];
            if (!hit) continue;
            for (size_t w = 0; w < k; ++w) tagged[t + w] = 1;
            lastEnd = t + k - 1;
            any = true;
            t = lastEnd;  // the loop steps past the used-up space
        }
    }

    std::vector<int> entryOf(n, -1);
    bool anyTag = false;
    for (size_t t = 1; t + 1 < n; ++t) {
        if (tagged[t]) {
            anyTag = true;
            continue;
        }
        const QStringView tok = tokens[t];
        if (tok.isEmpty() || tok.size() > 10) continue;
        const auto it = tables.single.constFind(tok);
        if (it == tables.single.constEnd()) continue;
        // The same entry matched right before: the space between is used up.
        if (entryOf[t - 1] == it.value()) continue;
        entryOf[t] = it.value();
        tagged[t] = 1;
        anyTag = true;
    }
    if (!anyTag) return;

    const Tags& tg = tags();
    QString out;
    out.reserve(text.size() + text.size() / 2);
    for (size_t t = 0; t < n; ++t) {
        if (t > 0) out += QLatin1Char(' ');
        if (tagged[t]) {
            out += tg.keyword;
            out += tokens[t];
            out += tg.close;
        } else {
            out += tokens[t];
        }
    }
    text = out;
}

}  // namespace lumo
