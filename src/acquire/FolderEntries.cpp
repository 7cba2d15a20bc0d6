#include "acquire/FolderEntries.h"

#include <algorithm>
#include <cstdlib>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/FileHelpers.h"
#include "render/CodePage.h"

namespace lumo {

std::vector<FolderEntry> folderEntries(const QString& folder) {
    std::vector<FolderEntry> out;
    const QByteArray native = nativePath(folder);
    DIR* dir = ::opendir(native.constData());
    if (!dir) return out;
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    const QByteArray nativePrefix = native.endsWith('/') ? native : native + '/';
    while (const dirent* d = ::readdir(dir)) {
        const QByteArray name(d->d_name);
        if (name == "." || name == "..") continue;
        FolderEntry e;
        e.name = decodeFileText(name);
        e.path = prefix + e.name;
        const QByteArray bytes = nativePrefix + name;
        if (!isValidUtf8(name)) rememberNativePath(e.path, bytes);
        e.hidden = name.startsWith('.');
        struct stat st {};
        e.link = ::lstat(bytes.constData(), &st) == 0 && S_ISLNK(st.st_mode);
        if (::stat(bytes.constData(), &st) == 0) {
            e.exists = true;
            e.folder = S_ISDIR(st.st_mode);
            e.regularFile = S_ISREG(st.st_mode);
            e.enterable = e.folder && ::access(bytes.constData(), R_OK | X_OK) == 0;
        }
        out.push_back(std::move(e));
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return out;
}

QByteArray realFolderPath(const QString& folder) {
    char* real = ::realpath(nativePath(folder).constData(), nullptr);
    if (!real) return {};
    QByteArray result(real);
    std::free(real);
    return result;
}

}  // namespace lumo
