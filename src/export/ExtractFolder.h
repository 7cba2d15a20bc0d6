#pragma once
// The output folder of "extract": missing, empty, or one this program
// extracted into before (it holds the mark file, and nothing but module files
// beside it). Anything else is refused and left alone; the modules are
// written into a new folder beside it that takes its place when complete.
#include <functional>

#include <QString>

namespace lumo {

// The hidden file that marks a folder of extracted modules; the readers of
// module folders pass over hidden files.
inline constexpr char kExtractMark[] = ".codelumo-extract";

// The names of the files such a folder consists of: the mark, .bas, .cls, .frm.
bool isExtractFileName(const QString& fileName);

// Why folder must not be replaced by extracted modules, in German; empty when it may.
QString extractRefusal(const QString& folder);

// Writes the modules in place of folder: one run at a time, foreign content
// refused, `make` filling a new folder beside it (the mark is written
// after it), which is swapped in when make returns true. Empty on success,
// else the German reason (also make's).
QString replaceExtractFolder(const QString& folder,
                             const std::function<bool(const QString& built, QString* why)>& make);

}  // namespace lumo
