#include "export/RtfExport.h"

#include <algorithm>

#include <QDir>
#include <QSaveFile>

#include "acquire/SaveFileName.h"
#include "base/SystemErrors.h"
#include "base/Ui.h"
#include "export/ExportContext.h"
#include "model/WorkingStore.h"
#include "render/RtfRenderer.h"

namespace lumo {

QString rtfTargetPath(const QString& chosen) {
    const qsizetype slash = std::max(chosen.lastIndexOf(QLatin1Char('/')), chosen.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = chosen.lastIndexOf(QLatin1Char('.'));
    // Replacing the last three characters blindly would turn "a.html" into
    // "a.hRTF" and "Bericht" into "BerichRTF"; the extension is what is meant.
    if (dot <= slash) return chosen + QStringLiteral(".RTF");
    // A name that already ends in ".rtf" is the file the user chose (and may
    // have confirmed overwriting): file names differ by case here, so
    // "dup.rtf" must not become a second file "dup.RTF" beside it.
    if (chosen.mid(dot).compare(QLatin1String(".rtf"), Qt::CaseInsensitive) == 0) return chosen;
    return chosen.left(dot + 1) + QStringLiteral("RTF");
}

QString chooseRtfFile(Ui& ui, const QString& startFolder, const QString& proposedName) {
    const QString chosen =
        saveFileName(ui, QStringLiteral("RTF-Dokument:RTF;"), QStringLiteral("RTF"), startFolder, proposedName);
    return chosen.isEmpty() ? QString() : rtfTargetPath(chosen);
}

QString moduleRtfDocument(WorkingStore& store, int moduleNumber, const Options& options) {
    QString document = store.readModuleText(moduleNumber);
    taggedToRtf(document, options);
    wrapRtfDocument(document, options);
    return document;
}

QString projectRtfDocument(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                           bool headings) {
    QString document;
    for (size_t i = 0; i < modules.size(); ++i) {
        QString text = store.readModuleText(int(i) + 1);
        if (headings) text = withModuleHeader(text, modules[i], TypeTexts::Rtf);
        taggedToRtf(text, options);
        document += text;
    }
    wrapRtfDocument(document, options);
    return document;
}

bool writeRtfFile(const QString& path, const QString& document, QString& error) {
    // Written beside the target and put in its place at the end: a failing
    // export never leaves half a document, nor destroys the file it replaces.
    QSaveFile file(path);
    const QByteArray bytes = rtfFileBytes(document);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    error = QStringLiteral("Die Datei ") + QDir::toNativeSeparators(path) +
            QStringLiteral(" kann nicht geschrieben werden: ") + germanSystemText(file.errorString());
    return false;
}

namespace {

template <class Make>
bool exportRtf(const QString& path, const QString& operation, const ExportContext& context, Make make) {
    OperationStatus status(context, operation, true);
    QString error;
    try {
        if (writeRtfFile(path, make(), error)) return true;
    } catch (const std::exception& e) {
        error = QString::fromStdString(e.what());
    }
    context.ui.message(error);
    return false;
}

}  // namespace

bool exportModuleRtf(const QString& path, WorkingStore& store, int moduleNumber, const ExportContext& context) {
    return exportRtf(path, QStringLiteral("Erzeuge RTF-Modul"), context,
                     [&] { return moduleRtfDocument(store, moduleNumber, context.options); });
}

bool exportProjectRtf(const QString& path, WorkingStore& store, const std::vector<ExportModule>& modules,
                      const ExportContext& context) {
    return exportRtf(path, QStringLiteral("Erzeuge RTF-Projekt"), context, [&] {
        return projectRtfDocument(store, modules, context.options, context.moduleHeadings);
    });
}

}  // namespace lumo
