#pragma once
// Writing a stored project's folder so that a failure at any point leaves
// the folder as it was: the files are copied into a staging folder beside
// the target first (inside it when its parent takes no new folder), and
// only then the target's old files are moved aside and the new ones moved
// in, by renames within one file system. A failed rename rolls back what
// was moved. Sub-folders of the target are left alone.
#include <QString>
#include <QStringList>

namespace lumo {

// Whether a file of this name is one the program writes into a store: the
// database with the files its engine keeps beside it, the module texts,
// and the partial files written before they are renamed into place.
bool isStoreFileName(const QString& name);

// The names of the files directly in folder that the program did not write
// (anything but store files), sorted.
QStringList foreignFiles(const QString& folder);

// Replaces the store files directly in target by a copy of every file
// directly in source; creates target when missing. A target holding files
// the program did not write is refused: they are never deleted. Returns ""
// on success, otherwise the German description of the operation that
// failed, with path and reason.
QString replaceProjectFiles(const QString& sourceFolder, const QString& targetFolder);

}  // namespace lumo
