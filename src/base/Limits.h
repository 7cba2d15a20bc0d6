#pragma once
// Every limit the program sets on its input and its own numbering, with the
// reason it is where it is. Input beyond a limit is refused with a German
// message; none of them is near what real VBA projects hold.
#include <cstddef>

#include <QtGlobal>

namespace lumo {

// --- Office documents ---------------------------------------------------

// Files beyond this are not read into memory.
inline constexpr qint64 kMaxDocumentSize = 1024LL * 1024 * 1024;

// What one document may cost whatever its size on disk: a small file can
// hold streams that decompress a hundredfold, module records that share one
// stream, or package parts that inflate a thousandfold. A document beyond
// either budget is refused. Real projects stay far below both: the text
// budget counts decompressed source (each use of a stream again, the dir
// stream included), the part budget the package parts read.
inline constexpr qint64 kMaxDocumentText = 24LL * 1024 * 1024;
inline constexpr qint64 kMaxPackageParts = 64LL * 1024 * 1024;

// Storages nest only a few levels in real files (Macros/VBA, ObjectPool/x/VBA).
inline constexpr int kMaxStorageDepth = 4;
// A vbaProject.bin or a stream beyond this is not read.
inline constexpr qint64 kMaxStreamSize = 256LL * 1024 * 1024;
// A package's directory is small next to its parts; one beyond this is not read.
inline constexpr qint64 kMaxZipDirectorySize = 64LL * 1024 * 1024;
// No module or dir stream comes near this; a container that claims more is
// either hostile or garbage, and must not exhaust memory.
inline constexpr std::size_t kMaxDecompressedSize = 64u * 1024u * 1024u;

// --- Folders of exported modules ----------------------------------------

// Files larger than this are no module texts.
inline constexpr qint64 kMaxModuleFileSize = 64LL * 1024 * 1024;
// The source text of the module files read at once. The window lists every
// module of a folder however large it is and holds only what is ticked to
// this; read at this size it stays below 600 MB of memory.
inline constexpr qint64 kMaxSourceText = 128LL * 1024 * 1024;
// A folder tree of modules is shallow; the limit guards against link loops.
inline constexpr int kMaxFolderDepth = 8;

// --- The store and the window --------------------------------------------

// The module texts of one stored project together, and so each of them: the
// tagged text of a project read within kMaxSourceText, whose tags and
// indentation make it some times larger than its source. A store beyond it
// was not written by a build; the window would not stay within memory.
inline constexpr qint64 kMaxStoredText = 4 * kMaxSourceText;

// Routine numbers travel in 12-character anchors with 8 digits.
inline constexpr qint32 kMaxRoutineNumber = 99999999;
// The store numbers its modules in 16 bits.
inline constexpr int kMaxModules = 32767;
// Entries of the recent-projects list under the File menu.
inline constexpr int kRecentProjects = 10;
// Run folders are "T_" + a number drawn from 1 to this; a start gives up
// after this many draws that all hit folders in use.
inline constexpr int kMaxRunNumber = 300000;
inline constexpr int kMaxRunNumberDraws = 1000;

}  // namespace lumo
