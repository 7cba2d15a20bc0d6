#include "acquire/PagedFileInput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <QByteArray>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gsf/gsf-input-impl.h>

namespace lumo {

namespace {

// Big enough that a stream is a few reads, small enough that the unread
// parts of a large file stay on disk.
constexpr qint64 kPageSize = 16 * 1024;

// The file and the pages of it read so far, shared by an input and its
// duplicates (libgsf duplicates its input for every storage it opens).
struct PagedFile {
    int fd = -1;
    qint64 size = 0;
    QByteArray bytes;  // the whole file's room; only loaded pages hold data
    std::vector<bool> loaded;
    int refs = 1;

    ~PagedFile() {
        if (fd >= 0) ::close(fd);
    }

    bool readRange(qint64 from, qint64 length) {
        char* to = bytes.data() + from;
        while (length > 0) {
            const ssize_t got = ::pread(fd, to, size_t(length), off_t(from));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            to += got;
            from += got;
            length -= got;
        }
        return true;
    }

    const guint8* at(qint64 offset, qint64 length) {
        if (offset < 0 || length < 0 || length > size - offset) return nullptr;
        if (length > 0) {
            const qint64 last = (offset + length - 1) / kPageSize;
            qint64 page = offset / kPageSize;
            while (page <= last) {
                if (loaded[std::size_t(page)]) {
                    ++page;
                    continue;
                }
                // A run of missing pages is one read.
                qint64 end = page;
                while (end <= last && !loaded[std::size_t(end)]) ++end;
                const qint64 from = page * kPageSize;
                if (!readRange(from, std::min(size, end * kPageSize) - from)) return nullptr;
                for (qint64 p = page; p < end; ++p) loaded[std::size_t(p)] = true;
                page = end;
            }
        }
        return reinterpret_cast<const guint8*>(bytes.constData()) + offset;
    }
};

void release(PagedFile* file) {
    if (file && --file->refs == 0) delete file;
}

// The GObject type, in the shape GLib's macros expect.
struct LumoPagedInput {
    GsfInput input;
    PagedFile* file;
};
struct LumoPagedInputClass {
    GsfInputClass inputClass;
};

G_DEFINE_TYPE(LumoPagedInput, lumo_paged_input, GSF_INPUT_TYPE)

LumoPagedInput* newPagedInput(PagedFile* file) {
    auto* self = reinterpret_cast<LumoPagedInput*>(g_object_new_with_properties(lumo_paged_input_get_type(), 0, nullptr, nullptr));
    self->file = file;
    gsf_input_set_size(GSF_INPUT(self), file->size);
    return self;
}

GsfInput* pagedDup(GsfInput* input, GError**) {
    PagedFile* file = reinterpret_cast<LumoPagedInput*>(input)->file;
    ++file->refs;
    return GSF_INPUT(newPagedInput(file));
}

const guint8* pagedRead(GsfInput* input, size_t count, guint8* buffer) {
    PagedFile* file = reinterpret_cast<LumoPagedInput*>(input)->file;
    const guint8* data = file->at(input->cur_offset, qint64(count));
    if (!data || !buffer) return data;
    std::memcpy(buffer, data, count);
    return buffer;
}

gboolean pagedSeek(GsfInput*, gsf_off_t, GSeekType) {
    return FALSE;  // every position is readable; libgsf keeps the offset
}

void pagedFinalize(GObject* object) {
    auto* self = reinterpret_cast<LumoPagedInput*>(object);
    release(self->file);
    self->file = nullptr;
    G_OBJECT_CLASS(lumo_paged_input_parent_class)->finalize(object);
}

void lumo_paged_input_init(LumoPagedInput* self) { self->file = nullptr; }

void lumo_paged_input_class_init(LumoPagedInputClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = pagedFinalize;
    GsfInputClass* input = &klass->inputClass;
    input->Dup = pagedDup;
    input->Read = pagedRead;
    input->Seek = pagedSeek;
}

}  // namespace

GsfInput* openPagedFile(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    // Non-blocking, so that a pipe put in the file's place cannot stall the
    // open; it is then refused as no regular file.
    const int fd = ::open(local.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    auto* file = new PagedFile;
    file->fd = fd;
    file->size = qint64(st.st_size);
    file->bytes = QByteArray(qsizetype(file->size), Qt::Uninitialized);
    file->loaded.assign(std::size_t((file->size + kPageSize - 1) / kPageSize), false);
    return GSF_INPUT(newPagedInput(file));
}

}  // namespace lumo
