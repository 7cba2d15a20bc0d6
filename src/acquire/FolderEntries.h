#pragma once
// The entries of one folder, read by their bytes, so that a name that is no
// UTF-8 (a Windows name unpacked from a ZIP archive) is found and opened
// like any other (FileHelpers.h: nativePath).
#include <vector>

#include <QString>

namespace lumo {

struct FolderEntry {
    QString name;  // as shown: UTF-8, or decoded in the code page in force
    QString path;  // folder + "/" + name; opened through nativePath()
    bool hidden = false;  // the name begins with "."
    bool link = false;    // a symbolic link (what follows describes its target)
    bool exists = false;  // false for a link to nothing
    bool folder = false;
    bool regularFile = false;
    bool enterable = false;  // a folder that may be listed and entered
};

// Sorted by name without regard to case; "." and ".." left out. An
// unreadable folder gives no entries.
std::vector<FolderEntry> folderEntries(const QString& folder);

// The folder's real path, links resolved, as bytes; empty when it has none.
QByteArray realFolderPath(const QString& folder);

}  // namespace lumo
