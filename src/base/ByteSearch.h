#pragma once
// Searches over raw bytes, sixteen at a time where the processor allows:
// the project-wide searches look through every module's stored text and
// must not cost much more than reading it.
#include <QByteArrayView>

#include <vector>

namespace lumo {

// Appends the start of every occurrence of `needle` in `haystack`,
// overlapping ones included, in ascending order. An empty needle has none.
void findAllOccurrences(QByteArrayView haystack, QByteArrayView needle, std::vector<qsizetype>& out);

// How often `byte` occurs in [from, to).
qsizetype countByte(const char* from, const char* to, char byte);

}  // namespace lumo
