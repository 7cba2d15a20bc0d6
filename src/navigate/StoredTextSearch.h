#pragma once
// Search over a module's stored bytes: the hits hitsInText finds in the text
// a code view shows, found without decoding the module to that text. The
// tags are stepped over as the one reader of tagged text steps over them,
// the shown characters are compared as UTF-8 with the search text folded
// once, and only the lines that hold a hit are decoded. The project search
// thus costs about what reading the module files costs.
#include <optional>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "navigate/SearchHits.h"

namespace lumo {

class StoredTextSearch {
public:
    // `what` as hitsInText takes it (already trimmed).
    StoredTextSearch(const QString& what, bool wholeWord);

    // The hits hitsInText(shown text, what, wholeWord, module) gives, from the
    // module's stored tagged UTF-8. Nothing where the bytes do not tell the
    // shown text by themselves, so that the caller must search the shown
    // text: a search text with a line break, or a module with characters the
    // view shows differently (stray line breaks, NUL, paragraph marks,
    // non-characters, bytes that are no UTF-8). Without `positions` each
    // hit's position is left 0, and only the lines that may hold a hit are
    // read.
    std::optional<std::vector<SearchHit>> hits(QByteArrayView tagged, int module, bool positions = true);
    // Whether the shown text holds the search text at all (whole word or
    // not), as QString::contains(what, Qt::CaseInsensitive); nothing as above.
    std::optional<bool> holds(QByteArrayView tagged);

private:
    bool readShown(QByteArrayView tagged);
    void hitsInShown(int module, int line, bool positions, std::vector<SearchHit>& out) const;
    std::optional<std::vector<SearchHit>> hitsByLine(QByteArrayView tagged, int module);
    template <class F>
    void forEachCandidate(QByteArrayView tagged, F f) const;
    bool mayHold(QByteArrayView tagged) const;
    bool mayStartAt(QByteArrayView tagged, qsizetype at) const;
    qsizetype matchEnd(qsizetype at) const;
    bool isWholeWord(qsizetype at, qsizetype end) const;
    // Calls f(at, end) for every hit in shown_ in order, until f returns false.
    template <class F>
    void forEachMatch(F f) const;

    std::vector<char32_t> folded_;  // the search text's characters, folded
    qsizetype units_ = 0;           // its length in UTF-16 units
    bool usable_ = false;
    bool wholeWord_ = false;
    // Every character that folds to the first one of the search text, in UTF-8.
    std::vector<QByteArray> firstForms_;
    // Where the first two characters have only ASCII forms: those, for the
    // vector search of the pair.
    bool asciiStart_ = false;
    bool asciiFirst_ = false;
    char first_[2] = {}, second_[2] = {};
    // ASCII without "|": the stored bytes can rule a module out.
    bool screens_ = false;
    // The shown text of the module read last, in UTF-8, lines joined with CR LF.
    QByteArray shown_;
    bool shownAscii_ = true;
};

}  // namespace lumo
