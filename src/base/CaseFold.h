#pragma once
// Names compared and looked up without regard to case. VBA names are nearly
// always ASCII, for which folding is one comparison per unit; the general
// folding of QString costs far more and is asked only for the rest. Each
// fold has its plain definition in `plain::`, which the quick one must match.
#include <span>

#include <QString>
#include <QStringView>

namespace lumo {

// "A" to "Z" as "a" to "z"; every other unit as it is.
constexpr char16_t asciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c; }

// name.toCaseFolded(); the name itself (shared, not copied) when it holds
// no capital and nothing beyond ASCII.
QString caseFolded(const QString& name);
QString caseFolded(QStringView name);
// The same, written into `buffer` when the name is ASCII and fits: the
// answer then reads the buffer and is valid while the buffer is (a lookup
// key for many words that costs no allocation each).
QString caseFolded(QStringView name, std::span<char16_t> buffer);
// a.compare(b, Qt::CaseInsensitive) == 0.
bool sameIgnoringCase(QStringView a, QStringView b);

namespace plain {

inline QString caseFolded(QStringView name) { return name.toString().toCaseFolded(); }
inline bool sameIgnoringCase(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace plain

}  // namespace lumo
