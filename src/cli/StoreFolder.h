#pragma once
// The folder a headless build writes its project to. A build never writes
// into it: it builds into a new folder beside it and swaps that in when the
// project is complete, so that a failed or killed build leaves the folder
// as it was. Only a folder that holds nothing but a store this program
// wrote (the database with its tables, module text files) is replaced.
#include <QString>

#include "base/OutputFolder.h"

namespace lumo::cli {

// Why folder must not be replaced, in German; empty when it may: it does
// not exist, is empty, or holds a store of this program and nothing else.
QString refusalToReplace(const QString& folder);

// One build at a time per output folder: a lock file beside it, released by
// the system when the holder dies.
class StoreFolderLock {
public:
    explicit StoreFolderLock(const QString& folder);
    ~StoreFolderLock();
    // False when another build holds it; why then names that build.
    bool tryLock(QString* why);

private:
    OutputFolderLock lock_;
};

// Removes the half-built folders that killed builds into folder left beside
// it (only while holding the lock, and only those holding nothing but a store).
void removeLeftovers(const QString& folder);

// A new, empty folder beside folder for the build; empty string (and why)
// when it cannot be made.
QString makeBuildFolder(const QString& folder, QString* why);

// Puts built in place of folder (which may be missing) in one step where
// the file system allows it and removes the old store. Empty on success,
// else the German reason; folder is then as it was (also when a file not
// of the store came into it at the last moment).
QString swapIn(const QString& built, const QString& folder);

// Deletes a store folder (its store files, then the folder; a read-only one
// of the caller's own is made writable first). Silent.
void removeStoreFolder(const QString& folder);

// What folder holds (names, sizes, times), to tell whether anything in it
// changed during a build.
QString folderSnapshot(const QString& folder);
// The refusal when it did.
QString changedDuringBuild(const QString& folder);

}  // namespace lumo::cli
