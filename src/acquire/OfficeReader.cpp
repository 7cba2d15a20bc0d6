#include "acquire/GsfLibrary.h"
#include "acquire/OfficeReader.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include "acquire/ModuleText.h"
#include "acquire/PagedFileInput.h"
#include "acquire/ReadBudget.h"
#include "acquire/VbaDecompress.h"
#include "acquire/VbaDirStream.h"
#include "acquire/VbaProjectStream.h"
#include "acquire/ZipDirectory.h"
#include "base/Limits.h"
#include "base/Progress.h"
#include "base/SystemErrors.h"
#include "render/CodePage.h"

namespace lumo {

namespace {

struct GObjectUnref {
    void operator()(void* p) const {
        if (p) g_object_unref(p);
    }
};
using InputPtr = std::unique_ptr<GsfInput, GObjectUnref>;
using InfilePtr = std::unique_ptr<GsfInfile, GObjectUnref>;

const QByteArray kOleMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
const QByteArray kZipMagic("PK\x03\x04", 4);

// Decompresses within what is left of the text budget: a container that
// would exceed it refuses the whole document, one that is merely malformed
// returns false as decompressVba does.
bool decompressCounted(const unsigned char* data, std::size_t size, QByteArray& out, QString* why,
                       ReadBudget& budget) {
    const std::size_t limit = std::min<std::size_t>(kMaxDecompressedSize, std::size_t(std::max<qint64>(budget.textLeft, 0)));
    const bool ok = decompressVba(data, size, out, why, limit);
    // Stopped within a chunk of the budget's end: it was the budget.
    if (!ok && limit < kMaxDecompressedSize && std::size_t(out.size()) + 4096 > limit) {
        if (budget.textAtStart < kMaxDocumentText) budget.exceededTogether();
        ReadBudget::exceeded(QStringLiteral("der entpackte Quelltext des VBA-Projekts"), kMaxDocumentText);
    }
    budget.textLeft -= out.size();
    return ok;
}

void ignoreLog(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

void ensureGsf() {
    if (QString why; !loadGsfLibrary(&why))
        throw ReadError(QStringLiteral("Die Bibliothek %1 zum Lesen von Office-Dateien kann nicht geladen werden: %2")
                            .arg(QStringLiteral(LUMO_GSF_LIBRARY), why));
    static const bool done = [] {
        gsf_init();
        // Damaged files make libgsf complain on standard error; the reader
        // reports them in its own words instead.
        // (Some of its files log without a domain of their own.)
        for (const char* domain : {static_cast<const char*>(nullptr), "libgsf", "libgsf:msole", "libgsf:zip", "libgsf:utils"})
            g_log_set_handler(domain, GLogLevelFlags(G_LOG_LEVEL_MASK & ~G_LOG_LEVEL_ERROR), ignoreLog, nullptr);
        return true;
    }();
    (void)done;
}

QString childName(GsfInfile* dir, int i) {
    const char* n = gsf_infile_name_by_index(dir, i);
    return n ? QString::fromUtf8(n) : QString();
}

bool isStorage(GsfInput* in) {
    return in && GSF_IS_INFILE(in) && gsf_infile_num_children(GSF_INFILE(in)) >= 0;
}

// A child by name without regard to case; storages or streams as asked.
InputPtr child(GsfInfile* dir, QStringView name, bool wantStorage) {
    // The exact spelling first: libgsf finds it without building a name for
    // every child.
    InputPtr exact(gsf_infile_child_by_name(dir, name.toUtf8().constData()));
    if (exact && isStorage(exact.get()) == wantStorage) return exact;
    const int n = gsf_infile_num_children(dir);
    for (int i = 0; i < n; ++i) {
        if (childName(dir, i).compare(name, Qt::CaseInsensitive) != 0) continue;
        InputPtr c(gsf_infile_child_by_index(dir, i));
        if (c && isStorage(c.get()) == wantStorage) return c;
    }
    return nullptr;
}

// The children of one storage by name, exact spelling first, then without
// regard to case. libgsf walks its list of children for every lookup (by
// name or by position), so a project of many modules would cost the square
// of its module count if each were looked up by name: large storages are
// walked once for their names, and each stream is then opened by position.
class StorageIndex {
public:
    explicit StorageIndex(GsfInfile* dir) : dir_(dir), count_(gsf_infile_num_children(dir)) {}
    InputPtr stream(const QString& name) {
        if (count_ <= kFewChildren) {
            InputPtr exact(gsf_infile_child_by_name(dir_, name.toUtf8().constData()));
            if (exact && !isStorage(exact.get())) return exact;
        }
        if (!indexed_) {
            for (int i = 0; i < count_; ++i) {
                const QString spelled = childName(dir_, i);
                if (!exact_.contains(spelled)) exact_.insert(spelled, i);
                const QString key = spelled.toLower();
                if (!folded_.contains(key)) folded_.insert(key, i);
            }
            indexed_ = true;
        }
        if (count_ > kFewChildren) {
            const auto it = exact_.constFind(name);
            if (it != exact_.constEnd()) {
                InputPtr c(gsf_infile_child_by_index(dir_, it.value()));
                if (c && !isStorage(c.get())) return c;
            }
        }
        const auto it = folded_.constFind(name.toLower());
        if (it == folded_.constEnd()) return nullptr;
        InputPtr c(gsf_infile_child_by_index(dir_, it.value()));
        return c && !isStorage(c.get()) ? std::move(c) : nullptr;
    }

private:
    // Up to this many, a lookup by name is cheaper than reading every name.
    static constexpr int kFewChildren = 64;
    GsfInfile* dir_;
    int count_;
    bool indexed_ = false;
    QHash<QString, int> exact_;   // first child of each name
    QHash<QString, int> folded_;  // first child of each lower-case name
};

// what names the stream in a message; when module is given, what holds %1
// for it (filled in only when there is something to report).
QByteArray readStream(GsfInput* in, const QString& what, const QString& module = {}) {
    auto named = [&] { return module.isNull() ? what : what.arg(module); };
    const gsf_off_t size = gsf_input_size(in);
    if (size < 0 || size > kMaxStreamSize)
        throw ReadError(QStringLiteral("Der Datenstrom %1 ist unplausibel groß.").arg(named()));
    // Filled first: libgsf may hand back a buffer it filled only in part (a
    // ZIP part that inflates to less than its recorded size), and what it
    // left out must read as zeros, not as whatever memory held before.
    QByteArray bytes(qsizetype(size), '\0');
    gsf_input_seek(in, 0, G_SEEK_SET);
    if (size > 0 && !gsf_input_read(in, size_t(size), reinterpret_cast<guint8*>(bytes.data())))
        throw ReadError(QStringLiteral("Der Datenstrom %1 ist unvollständig; die Datei ist beschädigt.").arg(named()));
    return bytes;
}

InfilePtr retained(GsfInfile* dir) {
    g_object_ref(dir);
    return InfilePtr(dir);
}

// The storages and the stream the project is read from, kept from the
// search so that none of them is looked up twice.
struct VbaPlace {
    InfilePtr parent;  // holds VBA and PROJECT
    InputPtr vba;
    InputPtr dir;
    explicit operator bool() const { return parent != nullptr; }
};

VbaPlace vbaPlaceIn(GsfInfile* dir) {
    VbaPlace place;
    InputPtr vba = child(dir, u"VBA", true);
    if (!vba) return place;
    InputPtr dirStream = child(GSF_INFILE(vba.get()), u"dir", false);
    if (!dirStream) return place;
    place.parent = retained(dir);
    place.vba = std::move(vba);
    place.dir = std::move(dirStream);
    return place;
}

// The storage that holds the "VBA" storage (with its dir stream) and the
// PROJECT stream. The usual places first (the root of a vbaProject.bin,
// Word's Macros, Excel's _VBA_PROJECT_CUR); then the shallowest one found, so
// that a document's own project wins over those of embedded objects.
VbaPlace findVbaPlace(GsfInfile* root) {
    if (VbaPlace place = vbaPlaceIn(root)) return place;
    for (const char16_t* usual : {u"Macros", u"_VBA_PROJECT_CUR", u"_VBA_PROJECT"}) {
        InputPtr c = child(root, QStringView(usual), true);
        if (!c) continue;
        if (VbaPlace place = vbaPlaceIn(GSF_INFILE(c.get()))) return place;
    }
    std::vector<InfilePtr> level;
    level.push_back(retained(root));
    for (int depth = 0; depth < kMaxStorageDepth && !level.empty(); ++depth) {
        std::vector<InfilePtr> next;
        for (const InfilePtr& dir : level) {
            const int n = gsf_infile_num_children(dir.get());
            for (int i = 0; i < n; ++i) {
                InputPtr c(gsf_infile_child_by_index(dir.get(), i));
                if (!isStorage(c.get())) continue;
                GsfInfile* storage = GSF_INFILE(c.get());
                if (VbaPlace place = vbaPlaceIn(storage)) return place;
                next.push_back(retained(storage));
            }
        }
        level = std::move(next);
    }
    return {};
}

bool wordDocumentEncrypted(GsfInfile* root) {
    InputPtr word = child(root, u"WordDocument", false);
    if (!word || gsf_input_size(word.get()) < 12) return false;
    guint8 fib[12];
    gsf_input_seek(word.get(), 0, G_SEEK_SET);
    if (!gsf_input_read(word.get(), sizeof fib, fib)) return false;
    return (fib[11] & 0x01) != 0;  // fEncrypted of the file information block
}

bool validModuleName(const QString& name) {
    if (name.isEmpty() || name.size() > 255) return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c == u'"' || c == u'\\' || c == u'/' || c == QChar::ReplacementCharacter)
            return false;
    return true;
}

VbaProjectData readVbaStorage(const VbaPlace& place, ReadBudget& budget) {
    GsfInfile* parent = place.parent.get();
    GsfInfile* vbaDir = GSF_INFILE(place.vba.get());
    const QByteArray compressedDir = readStream(place.dir.get(), QStringLiteral("VBA/dir"));
    QByteArray dirBytes;
    QString why;
    if (!decompressCounted(reinterpret_cast<const unsigned char*>(compressedDir.constData()),
                           std::size_t(compressedDir.size()), dirBytes, &why, budget))
        throw ReadError(QStringLiteral("Das Verzeichnis des VBA-Projekts (dir) ist beschädigt: %1").arg(why));
    const VbaDirInfo dir = parseVbaDir(dirBytes);

    const CodePageDecoder decoder(dir.codePage);
    VbaProjectInfo projectInfo;
    if (InputPtr project = child(parent, u"PROJECT", false)) {
        try {
            projectInfo = parseVbaProjectStream(readStream(project.get(), QStringLiteral("PROJECT")), decoder);
        } catch (const ReadError&) {
            // Without it the kinds come from the dir stream alone.
        }
    }

    StorageIndex streams(vbaDir);
    VbaProjectData result;
    result.name = decoder.decode(dir.projectName);
    result.locked = projectInfo.lockedForViewing;
    QSet<QString> seen;
    for (const VbaDirModule& m : dir.modules) {
        workTurn();
        // The Unicode name is authoritative: projects saved on a Mac hold the
        // code-page name in Mac Roman whatever the recorded code page says.
        const QString codePageName = decoder.decode(m.name);
        const QString name = m.unicodeName.isEmpty() ? codePageName : m.unicodeName;
        const QString shown = name.isEmpty() ? QStringLiteral("(ohne Namen)") : name;
        if (!validModuleName(name)) {
            result.problems << QStringLiteral("Das Modul »%1« hat einen ungültigen Namen und wurde ausgelassen.").arg(shown);
            continue;
        }
        if (seen.contains(name.toLower())) {
            result.problems << QStringLiteral("Das Modul »%1« kommt doppelt vor; nur das erste wurde gelesen.").arg(name);
            continue;
        }
        const QString streamName = m.unicodeStreamName.isEmpty() ? decoder.decode(m.streamName) : m.unicodeStreamName;
        InputPtr stream = streams.stream(streamName);
        if (!stream && !m.unicodeStreamName.isEmpty()) stream = streams.stream(decoder.decode(m.streamName));
        if (!stream) {
            result.problems << QStringLiteral("Der Datenstrom des Moduls »%1« fehlt; das Modul wurde ausgelassen.").arg(name);
            continue;
        }
        QByteArray raw;
        try {
            raw = readStream(stream.get(), QStringLiteral("des Moduls »%1«"), name);
        } catch (const ReadError& e) {
            result.problems << QStringLiteral("Modul »%1«: %2").arg(name, e.message());
            continue;
        }
        const auto* rawData = reinterpret_cast<const unsigned char*>(raw.constData());
        const std::size_t rawSize = std::size_t(raw.size());
        qsizetype offset = -1;
        if (m.hasTextOffset && m.textOffset < rawSize && looksLikeContainer(rawData + m.textOffset, rawSize - m.textOffset))
            offset = qsizetype(m.textOffset);
        else
            offset = findSourceContainer(rawData, rawSize);  // some writers record a wrong offset
        if (offset < 0) {
            result.problems << QStringLiteral("Modul »%1«: im Datenstrom ist kein Quelltext zu finden (die Angabe, wo er "
                                              "beginnt, ist falsch); das Modul wurde ausgelassen.").arg(name);
            continue;
        }
        QByteArray text;
        if (!decompressCounted(rawData + offset, rawSize - std::size_t(offset), text, &why, budget)) {
            result.problems << QStringLiteral("Modul »%1«: der Quelltext ist beschädigt (%2); das Modul wurde ausgelassen.")
                                   .arg(name, why);
            continue;
        }
        // Source text never holds NUL bytes; a chunk that decoded to them is garbage.
        if (text.contains('\0')) {
            result.problems << QStringLiteral("Modul »%1«: der entpackte Quelltext enthält Binärdaten; das Modul ist "
                                              "beschädigt und wurde ausgelassen.").arg(name);
            continue;
        }
        VbaModule module;
        module.name = name;
        module.type = projectInfo.moduleTypes.value(
            name.toLower(),
            projectInfo.moduleTypes.value(codePageName.toLower(), m.procedural ? VbaStandardModule : VbaClassModule));
        // Each copy is let go as soon as the next exists: memory stays near
        // what the module texts themselves need.
        raw = QByteArray();
        QString decoded = decoder.decode(text);
        text = QByteArray();
        module.code = editorText(decoded, &module.hidden);
        seen.insert(name.toLower());
        result.modules.push_back(std::move(module));
    }
    if (result.modules.empty()) {
        if (!result.problems.isEmpty()) throw ReadError(result.problems.join(u' '));
        throw ReadError(QStringLiteral("Das VBA-Projekt enthält keine Module."));
    }
    return result;
}

VbaProjectData readOle(GsfInput* input, ReadBudget& budget) {
    GError* err = nullptr;
    InfilePtr root(gsf_infile_msole_new(input, &err));
    if (err) g_error_free(err);
    if (!root)
        throw ReadError(QStringLiteral("Die Datei ist beschädigt oder unvollständig: ihr Verbundspeicher lässt sich "
                                       "nicht öffnen."));
    if (child(root.get(), u"EncryptedPackage", false))
        throw ReadError(QStringLiteral("Die Datei ist mit einem Kennwort verschlüsselt; ihr VBA-Projekt kann nicht "
                                       "gelesen werden."));
    const VbaPlace place = findVbaPlace(root.get());
    if (!place) {
        if (wordDocumentEncrypted(root.get()))
            throw ReadError(QStringLiteral("Die Datei ist mit einem Kennwort verschlüsselt; ein VBA-Projekt ist "
                                           "darin nicht lesbar."));
        throw ReadError(QStringLiteral("Die Datei enthält kein VBA-Projekt."));
    }
    return readVbaStorage(place, budget);
}

// The part names of the package's VBA projects, from [Content_Types].xml.
QStringList vbaPartsFromContentTypes(const QByteArray& xml) {
    QStringList parts;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        if (reader.name() != u"Override") continue;
        const auto attrs = reader.attributes();
        if (attrs.value(QLatin1String("ContentType")).compare(u"application/vnd.ms-office.vbaProject", Qt::CaseInsensitive) == 0)
            parts << attrs.value(QLatin1String("PartName")).toString();
    }
    return parts;
}

InputPtr zipEntry(GsfInfile* root, const QString& partName) {
    const QStringList pieces = partName.split(u'/', Qt::SkipEmptyParts);
    if (pieces.isEmpty()) return nullptr;
    g_object_ref(root);
    InputPtr current(GSF_INPUT(root));
    for (int i = 0; i < pieces.size(); ++i) {
        if (!isStorage(current.get())) return nullptr;
        InputPtr next = child(GSF_INFILE(current.get()), pieces[i], i + 1 < pieces.size());
        if (!next) return nullptr;
        current = std::move(next);
    }
    return current;
}

InputPtr findEntryNamed(GsfInfile* dir, QStringView name, int depth) {
    if (InputPtr found = child(dir, name, false)) return found;
    if (depth >= kMaxStorageDepth) return nullptr;
    const int n = gsf_infile_num_children(dir);
    for (int i = 0; i < n; ++i) {
        InputPtr c(gsf_infile_child_by_index(dir, i));
        if (!isStorage(c.get())) continue;
        if (InputPtr found = findEntryNamed(GSF_INFILE(c.get()), name, depth + 1)) return found;
    }
    return nullptr;
}

// A part's bytes, counted against the part budget and checked against what
// the package records for it: its own local header, its size, its CRC-32.
QByteArray readPart(GsfInput* package, GsfInput* part, const QString& shown,
                    const std::optional<ZipDirectory>& directory, ReadBudget& budget) {
    const QString name = zipPartName(part);
    const std::optional<ZipDirectory::Entry> recorded = directory ? directory->entry(name) : std::nullopt;
    if (!recorded)
        throw ReadError(QStringLiteral("Der Teil %1 fehlt im Inhaltsverzeichnis des ZIP-Pakets; die Datei ist "
                                       "beschädigt.").arg(name));
    const gsf_off_t size = gsf_input_size(part);
    if (const QString problem = ZipDirectory::headerProblem(package, *recorded, size); !problem.isEmpty())
        throw ReadError(problem);
    budget.takePart(std::max<gsf_off_t>(size, 0), name);
    QByteArray bytes = readStream(part, shown);
    if (recorded->crc != crc32Of(bytes))
        throw ReadError(QStringLiteral("Der Teil %1 des ZIP-Pakets ist beschädigt (seine Prüfsumme stimmt nicht).")
                            .arg(name));
    return bytes;
}

VbaProjectData readPackage(GsfInput* input, ReadBudget& budget) {
    const std::optional<ZipDirectory> directory = ZipDirectory::read(input);
    GError* err = nullptr;
    InfilePtr root(gsf_infile_zip_new(input, &err));
    if (err) g_error_free(err);
    if (!root)
        throw ReadError(QStringLiteral("Die Datei ist beschädigt oder unvollständig: das ZIP-Paket lässt sich nicht "
                                       "öffnen."));
    InputPtr part;
    InputPtr types = child(root.get(), u"[Content_Types].xml", false);
    if (types) {
        // A damaged list is a damaged document, not one to search by name.
        const QByteArray xml = readPart(input, types.get(), QStringLiteral("[Content_Types].xml"), directory, budget);
        for (const QString& name : vbaPartsFromContentTypes(xml))
            if ((part = zipEntry(root.get(), name))) break;
    }
    if (!part) part = findEntryNamed(root.get(), u"vbaProject.bin", 0);
    if (!part) {
        if (!types)
            throw ReadError(QStringLiteral("Die Datei ist ein ZIP-Archiv, aber kein Office-Dokument."));
        throw ReadError(QStringLiteral("Die Datei enthält kein VBA-Projekt."));
    }
    const QByteArray bin = readPart(input, part.get(), QStringLiteral("vbaProject.bin"), directory, budget);
    if (!bin.startsWith(kOleMagic))
        throw ReadError(QStringLiteral("Das VBA-Projekt im Paket (vbaProject.bin) ist beschädigt."));
    InputPtr inner(gsf_input_memory_new(reinterpret_cast<const guint8*>(bin.constData()), bin.size(), FALSE));
    return readOle(inner.get(), budget);
}

}  // namespace

// libgsf also prints some complaints about damaged ZIP packages directly;
// silenced while a document is read.
class QuietGlibPrint {
public:
    QuietGlibPrint() : print_(g_set_print_handler(ignorePrint)), printErr_(g_set_printerr_handler(ignorePrint)) {}
    ~QuietGlibPrint() {
        g_set_print_handler(print_);
        g_set_printerr_handler(printErr_);
    }
    QuietGlibPrint(const QuietGlibPrint&) = delete;
    QuietGlibPrint& operator=(const QuietGlibPrint&) = delete;

private:
    static void ignorePrint(const gchar*) {}
    GPrintFunc print_;
    GPrintFunc printErr_;
};

namespace {

// What the first bytes say; throws for anything that is neither a compound
// file nor a ZIP package.
bool isOleStart(const QByteArray& head) {
    const bool ole = head.startsWith(kOleMagic);
    const bool zip = head.startsWith(kZipMagic);
    if (!ole && !zip) {
        if (head.isEmpty()) throw ReadError(QStringLiteral("Die Datei ist leer."));
        throw ReadError(QStringLiteral("Die Datei ist keine Office-Datei (weder Verbunddatei noch OOXML-Paket) und "
                                       "kein exportiertes Modul."));
    }
    return ole;
}

}  // namespace

VbaProjectData readOfficeBytes(const QByteArray& bytes) {
    ensureGsf();
    const QuietGlibPrint quiet;
    const bool ole = isOleStart(bytes.left(kOleMagic.size()));
    InputPtr input(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.constData()), bytes.size(), FALSE));
    if (!input) throw ReadError(QStringLiteral("Die Datei kann nicht gelesen werden."));
    ReadBudget budget;
    return ole ? readOle(input.get(), budget) : readPackage(input.get(), budget);
}

VbaProjectData readOfficeFile(const QString& path) {
    ReadBudget budget;
    return readOfficeFile(path, budget);
}

VbaProjectData readOfficeFile(const QString& path, ReadBudget& budget) {
    const QFileInfo info(path);
    if (!info.exists()) throw ReadError(QStringLiteral("Die Datei existiert nicht."));
    if (info.size() > kMaxDocumentSize)
        throw ReadError(QStringLiteral("Die Datei ist größer als %1 MB und wird nicht gelesen.")
                            .arg(kMaxDocumentSize / (1024 * 1024)));
    ensureGsf();
    const QuietGlibPrint quiet;
    // Read where libgsf looks, not whole: a large workbook's sheets are
    // most of its bytes and of no interest here.
    errno = 0;
    InputPtr input(openPagedFile(path));
    if (!input) {
        const int openErrno = errno;
        // A pipe or device would block the read or never end.
        if (!QFileInfo(path).isFile()) throw ReadError(QStringLiteral("Das ist keine gewöhnliche Datei."));
        throw ReadError(QStringLiteral("Die Datei kann nicht geöffnet werden: %1.")
                            .arg(openErrno ? systemErrorText(openErrno) : QStringLiteral("unbekannter Fehler")));
    }
    const gsf_off_t size = gsf_input_size(input.get());
    if (size > kMaxDocumentSize)
        throw ReadError(QStringLiteral("Die Datei ist größer als %1 MB und wird nicht gelesen.")
                            .arg(kMaxDocumentSize / (1024 * 1024)));
    QByteArray head(qsizetype(std::min<gsf_off_t>(size, kOleMagic.size())), Qt::Uninitialized);
    if (!head.isEmpty() && !gsf_input_read(input.get(), size_t(head.size()), reinterpret_cast<guint8*>(head.data())))
        throw ReadError(QStringLiteral("Die Datei kann nicht vollständig gelesen werden."));
    gsf_input_seek(input.get(), 0, G_SEEK_SET);
    const bool ole = isOleStart(head);
    budget.partsLeft = kMaxPackageParts;
    budget.textAtStart = budget.textLeft;
    VbaProjectData project = ole ? readOle(input.get(), budget) : readPackage(input.get(), budget);
    project.fileName = info.absoluteFilePath();
    return project;
}

QString officeReaderVersion() {
    return QStringLiteral("%1.%2").arg(LUMO_VERSION_MAJOR).arg(LUMO_VERSION_MINOR);
}

}  // namespace lumo
