#include "acquire/BrowseForFolder.h"

#include <QDir>

#include "base/Ui.h"

namespace lumo {

QString browseForFolder(Ui& ui, const QString& title, const QString& startFolder) {
    QString folder = ui.chooseFolder(title, startFolder);
    // Whatever a chooser hands back past a NUL is no part of the path.
    if (const qsizetype nul = folder.indexOf(QChar(0)); nul >= 0) folder.truncate(nul);
    if (folder.isEmpty()) return {};
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    return folder;
}

}  // namespace lumo
