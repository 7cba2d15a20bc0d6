#pragma once
// Names, paths and plain file operations shared by the project store, the
// exports and the start-up clean-up. Folders are kept with a trailing "/".
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lumo {

// Appends the platform separator "/" unless the path ends with it.
QString withTrailingBackslash(const QString& path);

// Full paths of the files directly in folder whose names match "*." + extension
// ("*" for every file), in the order the file system returns them.
QStringList listFiles(const QString& folder, const QString& extension);

// The files of a folder and of all folders below it (symbolic links to
// folders are not followed). folders: first the folder itself with trailing
// "/", then every folder below it without; each folder's direct sub-folders
// are listed before any of them is descended into. Files come folder by
// folder in that order.
struct FileTree {
    QStringList files;
    QStringList folders;
};
FileTree listFilesBelow(const QString& folder, const QString& extension);

// Copies every file directly in source into target under the same name,
// replacing files already there. False when any copy failed.
bool copyFilesTo(const QString& sourceFolder, const QString& targetFolder);

// Deletes every file directly in folder; sub-folders stay; errors are ignored.
void clearFolder(const QString& folder);

// The bytes of a regular file of at most maxSize bytes. Throws ReadError
// with a German reason (without the path): the system's cause in German
// words when it cannot be opened or read, a refusal for pipes, devices and
// sockets (checked on the opened file, so a file swapped for a pipe
// meanwhile cannot block the read) and for files beyond maxSize.
QByteArray readRegularFile(const QString& path, qint64 maxSize);

// A path whose bytes are no valid UTF-8 (a Windows name unpacked from a ZIP
// archive) cannot travel as text: whoever finds one remembers the text it
// is shown as together with its bytes, and every open goes through
// nativePath. The text of every other path is its own key.
void rememberNativePath(const QString& shown, const QByteArray& bytes);
QByteArray nativePath(const QString& path);

// What is at a path, links followed (brokenLink: a link to nothing).
struct PathStatus {
    bool exists = false, brokenLink = false, folder = false, regularFile = false;
    bool enterable = false;  // a folder that may be listed and entered
};
PathStatus pathStatus(const QString& path);

// name without any of / \ : * ? < > | and ".
QString removeInvalidFileNameChars(const QString& name);

}  // namespace lumo
