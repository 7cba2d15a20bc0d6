#pragma once
// A folder the program writes as a whole (a built project, a website) is
// never written into: the new content is made in a folder beside it and
// swapped in when complete, so that a failed or killed run leaves the folder
// as it was. Only files the program itself writes there are ever removed;
// which those are, each kind of output says by their names.
#include <functional>
#include <memory>

#include <QFileInfoList>
#include <QString>

class QLockFile;

namespace lumo {

// True for the name of a plain file that this kind of output writes.
using OwnsFileName = bool (*)(const QString& fileName);

// What the refusals of one kind of output say, in German.
struct OutputWords {
    QString busy;           // %1 the folder, %2 the process holding it
    QString cannotReplace;  // %1 the folder, %2 the reason
    QString changed;        // %1 the folder
};

// One run at a time per output folder: a lock file beside it, released by
// the system when the holder dies.
class OutputFolderLock {
public:
    explicit OutputFolderLock(const QString& folder);
    ~OutputFolderLock();
    // False when another run holds it; why then names that run (busyText
    // with the folder and the process) or why no lock could be made.
    bool tryLock(const QString& busyText, QString* why);

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
};

// What an output folder holds, sorted by name; empty when it is missing or
// empty. notAFolder: the refusal when it is something else (%1 the path);
// refusal gets that, or the German reason when the folder is the root, is
// write-protected or cannot be read. Asked before anything is made beside
// the folder (its lock) and once more while holding the lock.
QFileInfoList outputFolderEntries(const QString& folder, const QString& notAFolder, QString& refusal);

// The folder holds plain files of those names only (or nothing).
bool holdsOnlyOwnFiles(const QString& folder, OwnsFileName owns);

// Removes the half-made folders that killed runs into folder left beside it
// (only while holding the lock, and only those holding nothing but own files).
void removeLeftoverBuilds(const QString& folder, OwnsFileName owns);

// A new, empty folder beside folder, with the mode folder has (or a new
// folder would have); empty string (and why) when it cannot be made.
QString newFolderBeside(const QString& folder, QString* why);

// Puts built in place of folder (which may be missing) in one step where
// the file system allows it and removes the old content. Empty on success,
// else the German reason; folder is then as it was (also when a file not of
// the program's came into it at the last moment).
QString swapInBuilt(const QString& built, const QString& folder, OwnsFileName owns, const OutputWords& words);

// Deletes the own files of a folder, then the folder when it is empty (a
// read-only one of the caller's own is made writable first). Silent.
void removeOwnFolder(const QString& folder, OwnsFileName owns);

// What folder holds (names, sizes, times), to tell whether anything in it
// changed during a run.
QString folderSnapshot(const QString& folder);

// What replaceOutputFolder asks of the kind of folder it replaces.
struct OutputFolderKind {
    OwnsFileName owns;
    OutputWords words;
    QString contents;  // what is built, for the message: "die Module", "die Website"
    std::function<QString(const QString& folder)> refusal;  // why `folder` may not be replaced, "" when it may
};

// Replaces `folder` (a link's target where it is a link) by one that `make`
// builds beside it, under the folder's lock: refused before anything is made
// when `kind` refuses it, put in place only when made whole and when nothing
// changed in the folder meanwhile. The reason in German, "" when done.
QString replaceOutputFolder(const QString& folder, const OutputFolderKind& kind,
                            const std::function<bool(const QString& built, QString* why)>& make);

}  // namespace lumo
