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

namespace {

// Module i's piece of the project's document body.
QString projectRtfPiece(WorkingStore& store, const std::vector<ExportModule>& modules, size_t i,
                        const Options& options, bool headings, Progress& progress) {
    if (!progress.step(int(i) + 1, int(modules.size()), modules[i].name)) throw WorkStopped();
    QString text = store.readModuleText(int(i) + 1);
    if (headings) text = withModuleHeader(text, modules[i], TypeTexts::Rtf);
    taggedToRtf(text, options);
    return text;
}

// Replaces the file at path with what `fill` writes into it, or leaves it as
// it was; the failure's description in error. Written beside the target and
// put in its place at the end: a failing export never leaves half a
// document, nor destroys the file it replaces.
bool writeRtfFileWith(const QString& path, QString& error, const std::function<void(QSaveFile&)>& fill) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        fill(file);
        if (file.commit()) return true;
    }
    error = QStringLiteral("Die Datei ") + QDir::toNativeSeparators(path) +
            QStringLiteral(" kann nicht geschrieben werden: ") + germanSystemText(file.errorString());
    return false;
}

}  // namespace

QString projectRtfDocument(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                           bool headings, Progress& progress) {
    QString document;
    for (size_t i = 0; i < modules.size(); ++i)
        document += projectRtfPiece(store, modules, i, options, headings, progress);
    wrapRtfDocument(document, options);
    return document;
}

void writeProjectRtf(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                     bool headings, const std::function<void(QByteArrayView)>& write, Progress& progress) {
    // Every character becomes its bytes alone, so the pieces' bytes joined
    // are the whole document's.
    write(rtfFileBytes(rtfDocumentHead(options)));
    for (size_t i = 0; i < modules.size(); ++i)
        write(rtfFileBytes(projectRtfPiece(store, modules, i, options, headings, progress)));
    write("}");
}

bool writeRtfFile(const QString& path, const QString& document, QString& error) {
    const QByteArray bytes = rtfFileBytes(document);
    // QSaveFile remembers a failed write and refuses to commit.
    return writeRtfFileWith(path, error, [&](QSaveFile& file) { file.write(bytes); });
}

namespace {

template <class Write>
bool exportRtf(const QString& operation, const ExportContext& context, Write write) {
    OperationStatus status(context, operation, true);
    QString error;
    try {
        if (write(error)) return true;
    } catch (const WorkStopped&) {
        return false;  // stopped: the file stays as it was
    } catch (const std::exception& e) {
        error = QString::fromStdString(e.what());
    }
    context.ui.message(error);
    return false;
}

}  // namespace

bool exportModuleRtf(const QString& path, WorkingStore& store, int moduleNumber, const ExportContext& context) {
    return exportRtf(QStringLiteral("Erzeuge RTF-Modul"), context, [&](QString& error) {
        return writeRtfFile(path, moduleRtfDocument(store, moduleNumber, context.options), error);
    });
}

bool exportProjectRtf(const QString& path, WorkingStore& store, const std::vector<ExportModule>& modules,
                      const ExportContext& context) {
    return exportRtf(QStringLiteral("Erzeuge RTF-Projekt"), context, [&](QString& error) {
        return writeRtfFileWith(path, error, [&](QSaveFile& file) {
            writeProjectRtf(store, modules, context.options, context.moduleHeadings,
                            [&file](QByteArrayView piece) { file.write(piece.data(), piece.size()); },
                            *context.progress);
        });
    });
}

}  // namespace lumo
