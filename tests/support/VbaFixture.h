#pragma once
// Builds VBA storages byte by byte for the reader's tests: compressed
// containers, dir streams with chosen (also lying) records, and OLE2 or ZIP
// containers around them.
#include <map>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile-zip.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

namespace lumo::test {

// A valid compressed container holding text: whole 4096-byte chunks stored
// raw, the rest as literal tokens (at most 3640 bytes fit one chunk so).
inline QByteArray literalContainer(const QByteArray& text) {
    QByteArray out("\x01", 1);
    qsizetype start = 0;
    for (; text.size() - start >= 4096; start += 4096) {
        out.append(char(0xFF)).append(char(0x3F));
        out.append(text.mid(start, 4096));
    }
    for (; start < text.size(); start += 3640) {
        const QByteArray part = text.mid(start, 3640);
        QByteArray body;
        for (qsizetype i = 0; i < part.size(); i += 8) {
            body.append('\0');
            body.append(part.mid(i, 8));
        }
        const unsigned header = 0xB000u | unsigned(body.size() + 2 - 3);
        out.append(char(header & 0xFF)).append(char(header >> 8)).append(body);
    }
    return out;
}

inline QByteArray le16(unsigned v) {
    QByteArray b;
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
    return b;
}
inline QByteArray le32(std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }
inline QByteArray record(unsigned id, const QByteArray& data) { return le16(id) + le32(std::uint32_t(data.size())) + data; }

inline QByteArray utf16(const QString& s) {
    QByteArray b;
    for (QChar c : s) b += le16(c.unicode());
    return b;
}

struct FixtureModule {
    QByteArray name;       // in the code page
    QString unicodeName;   // omitted when empty
    QByteArray streamName;
    std::uint32_t offset = 0;
    bool procedural = true;
};

// A dir stream (uncompressed) as the editor writes it, with PROJECTVERSION's odd length.
inline QByteArray dirStream(const std::vector<FixtureModule>& modules, unsigned codePage = 1252,
                            const QByteArray& projectName = "VBAProject") {
    QByteArray d;
    d += record(0x0001, le32(1));
    d += record(0x0002, le32(0x409));
    d += record(0x0014, le32(0x409));
    d += record(0x0003, le16(codePage));
    d += record(0x0004, projectName);
    d += record(0x0005, "") + record(0x0040, "");
    d += record(0x0006, "") + record(0x003D, "");
    d += record(0x0007, le32(0));
    d += record(0x0008, le32(0));
    d += le16(0x0009) + le32(4) + le32(1) + le16(2);  // length says 4, six bytes follow
    d += record(0x000C, "") + record(0x003C, "");
    d += record(0x000F, le16(unsigned(modules.size())));
    d += record(0x0013, le16(0xFFFF));
    for (const FixtureModule& m : modules) {
        d += record(0x0019, m.name);
        if (!m.unicodeName.isEmpty()) d += record(0x0047, utf16(m.unicodeName));
        d += record(0x001A, m.streamName) + record(0x0032, utf16(QString::fromLatin1(m.streamName)));
        d += record(0x001C, "") + record(0x0048, "");
        d += record(0x0031, le32(m.offset));
        d += record(0x001E, le32(0));
        d += record(0x002C, le16(0xFFFF));
        d += record(m.procedural ? 0x0021 : 0x0022, "");
        d += record(0x002B, "");
    }
    d += record(0x0010, "");
    return d;
}

// Writes the entries into a fresh container whose root writes into sink,
// folders before their contents, and returns the container's bytes; paths
// separate folders with "/".
inline QByteArray writeContainer(GsfOutput* sink, GsfOutfile* root, const std::map<QString, QByteArray>& entries,
                                 bool storedZip = false) {
    std::map<QString, GsfOutfile*> folders{{QString(), root}};
    for (const auto& [path, bytes] : entries) {
        const QStringList parts = path.split('/');
        QString prefix;
        GsfOutfile* dir = root;
        for (int i = 0; i + 1 < parts.size(); ++i) {
            prefix += parts[i] + "/";
            auto it = folders.find(prefix);
            if (it == folders.end())
                it = folders.emplace(prefix, GSF_OUTFILE(gsf_outfile_new_child(dir, parts[i].toUtf8().constData(), TRUE)))
                         .first;
            dir = it->second;
        }
        GsfOutput* s = storedZip ? gsf_outfile_new_child_full(dir, parts.last().toUtf8().constData(), FALSE,
                                                              "compression-level", GSF_ZIP_STORED, nullptr)
                                 : gsf_outfile_new_child(dir, parts.last().toUtf8().constData(), FALSE);
        gsf_output_write(s, bytes.size(), reinterpret_cast<const guint8*>(bytes.constData()));
        gsf_output_close(s);
        g_object_unref(s);
    }
    // Deepest folders first, the root last.
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        gsf_output_close(GSF_OUTPUT(it->second));
        if (it->second != root) g_object_unref(it->second);
    }
    g_object_unref(root);
    if (!gsf_output_is_closed(sink)) gsf_output_close(sink);
    const QByteArray result(reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink))),
                            qsizetype(gsf_output_size(sink)));
    g_object_unref(sink);
    return result;
}

// An OLE2 compound file of the given streams.
inline QByteArray oleFile(const std::map<QString, QByteArray>& streams) {
    gsf_init();
    GsfOutput* sink = gsf_output_memory_new();
    return writeContainer(sink, gsf_outfile_msole_new(sink), streams);
}

// A ZIP package of the given entries, deflated or stored as they are (so
// that their bytes can be found and damaged in the package).
inline QByteArray zipFile(const std::map<QString, QByteArray>& entries, bool stored = false) {
    gsf_init();
    GsfOutput* sink = gsf_output_memory_new();
    GError* err = nullptr;
    return writeContainer(sink, gsf_outfile_zip_new(sink, &err), entries, stored);
}

// A compressed container that decompresses to chunks × 4096 bytes of short
// lines ("x" and LF): each chunk two literals and one copy token of 4094
// bytes, seven bytes in all. What a hostile document uses to be small on
// disk and huge in memory.
inline QByteArray fillContainer(int chunks) {
    QByteArray out("\x01", 1);
    for (int i = 0; i < chunks; ++i) {
        out.append(char(0x04)).append(char(0xB0));  // compressed, 7 - 3 bytes follow the header
        out.append(char(0x04));                      // flags: two literals, then a copy token
        out.append('x').append('\n');
        out.append(char(0xFB)).append(char(0x1F));  // offset 2, length 4094
    }
    return out;
}

// A bare vbaProject.bin whose module records all use one module stream
// whose source decompresses to chunks × 4096 bytes.
inline QByteArray sharedStreamProject(int modules, int chunks) {
    std::map<QString, QByteArray> streams;
    std::vector<FixtureModule> dirModules;
    const QByteArray junk(40, '\x7F');
    streams["VBA/Geteilt"] = junk + fillContainer(chunks);
    for (int i = 1; i <= modules; ++i)
        dirModules.push_back({"Modul" + QByteArray::number(i), {}, "Geteilt", std::uint32_t(junk.size()), true});
    streams["VBA/dir"] = literalContainer(dirStream(dirModules));
    streams["VBA/_VBA_PROJECT"] = QByteArray("\xCC\x61\xFF\xFF\x00\x00\x00", 7);
    return oleFile(streams);
}

// A module stream: some bytes standing in for compiled code, then the source.
inline QByteArray moduleStream(const QByteArray& source, std::uint32_t* offset, int junk = 40) {
    QByteArray s(junk, '\x7F');
    *offset = std::uint32_t(s.size());
    return s + literalContainer(source);
}

// A whole bare vbaProject.bin with the given modules (sources in the code page).
struct FixtureSource {
    FixtureModule module;
    QByteArray source;
};
inline QByteArray vbaProjectBin(std::vector<FixtureSource> modules, const QByteArray& projectText = {},
                                unsigned codePage = 1252) {
    std::map<QString, QByteArray> streams;
    std::vector<FixtureModule> dirModules;
    for (FixtureSource& m : modules) {
        std::uint32_t offset = 0;
        streams["VBA/" + QString::fromLatin1(m.module.streamName)] = moduleStream(m.source, &offset);
        if (m.module.offset == 0) m.module.offset = offset;
        dirModules.push_back(m.module);
    }
    streams["VBA/dir"] = literalContainer(dirStream(dirModules, codePage));
    streams["VBA/_VBA_PROJECT"] = QByteArray("\xCC\x61\xFF\xFF\x00\x00\x00", 7);
    if (!projectText.isEmpty()) streams["PROJECT"] = projectText;
    return oleFile(streams);
}

}  // namespace lumo::test
