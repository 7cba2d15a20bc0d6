#include "acquire/GsfLibrary.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

// The stand-ins stay inside the program: exported, they would take the
// place of the real functions for every other user of GObject in the
// process (a platform plugin, a test that links libgsf itself).
#pragma GCC visibility push(hidden)
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-impl.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>
#include <glib-object.h>
#pragma GCC visibility pop

namespace lumo {

namespace {

// Its own libraries first when its names are bound: libgsf brings a dozen
// (GIO, libxml2, ...) whose every reference would otherwise be looked for
// through Qt and all its libraries before; a tenth of reading a small
// document went into that search. The address sanitizer refuses it.
#if defined(__SANITIZE_ADDRESS__)
#define LUMO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMO_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef LUMO_ADDRESS_SANITIZER
constexpr int kOwnNamesFirst = 0;
#else
constexpr int kOwnNamesFirst = RTLD_DEEPBIND;
#endif

struct Loaded {
    void* handle = nullptr;
    QString error;
};

const Loaded& loaded() {
    static const Loaded l = [] {
        Loaded out;
        // Local: the library's names are looked up through its handle only.
        out.handle = dlopen(LUMO_GSF_LIBRARY, RTLD_LAZY | RTLD_LOCAL | kOwnNamesFirst);
        if (!out.handle) out.error = QString::fromLocal8Bit(dlerror());
        return out;
    }();
    return l;
}

void* realFunction(const char* name) {
    void* f = loaded().handle ? dlsym(loaded().handle, name) : nullptr;
    if (!f) {
        // Only reachable by calling before loadGsfLibrary succeeded, or with
        // a library that lacks a function its headers declare.
        std::fprintf(stderr, "codelumo: %s fehlt in %s\n", name, LUMO_GSF_LIBRARY);
        std::abort();
    }
    return f;
}

}  // namespace

bool loadGsfLibrary(QString* why) {
    if (loaded().handle) return true;
    if (why) *why = loaded().error;
    return false;
}

}  // namespace lumo

#define LUMO_FORWARD(ret, name, params, args)                                                   \
    extern "C" __attribute__((visibility("hidden"))) ret(name) params {                        \
        static const auto real = reinterpret_cast<ret(*) params>(lumo::realFunction(#name)); \
        return real args;                                                                       \
    }

LUMO_FORWARD(void, gsf_init, (void), ())
LUMO_FORWARD(GType, gsf_input_get_type, (void), ())
LUMO_FORWARD(GType, gsf_infile_get_type, (void), ())
LUMO_FORWARD(GsfInfile*, gsf_infile_msole_new, (GsfInput * source, GError** err), (source, err))
LUMO_FORWARD(GsfInfile*, gsf_infile_zip_new, (GsfInput * source, GError** err), (source, err))
LUMO_FORWARD(int, gsf_infile_num_children, (GsfInfile * infile), (infile))
LUMO_FORWARD(char const*, gsf_infile_name_by_index, (GsfInfile * infile, int i), (infile, i))
LUMO_FORWARD(GsfInput*, gsf_infile_child_by_index, (GsfInfile * infile, int i), (infile, i))
LUMO_FORWARD(GsfInput*, gsf_infile_child_by_name, (GsfInfile * infile, char const* name), (infile, name))
LUMO_FORWARD(GsfInput*, gsf_input_memory_new, (guint8 const* buf, gsf_off_t length, gboolean needs_free),
             (buf, length, needs_free))
LUMO_FORWARD(char const*, gsf_input_name, (GsfInput * input), (input))
LUMO_FORWARD(GsfInfile*, gsf_input_container, (GsfInput * input), (input))
LUMO_FORWARD(gsf_off_t, gsf_input_size, (GsfInput * input), (input))
LUMO_FORWARD(guint8 const*, gsf_input_read, (GsfInput * input, size_t num_bytes, guint8* optional_buffer),
             (input, num_bytes, optional_buffer))
LUMO_FORWARD(gboolean, gsf_input_seek, (GsfInput * input, gsf_off_t offset, GSeekType whence),
             (input, offset, whence))
LUMO_FORWARD(gboolean, gsf_input_set_size, (GsfInput * input, gsf_off_t size), (input, size))

LUMO_FORWARD(GObject*, g_object_new_with_properties,
             (GType object_type, guint n_properties, const char* names[], const GValue values[]),
             (object_type, n_properties, names, values))
LUMO_FORWARD(gpointer, g_object_ref, (gpointer object), (object))
LUMO_FORWARD(void, g_object_unref, (gpointer object), (object))
LUMO_FORWARD(GTypeClass*, g_type_check_class_cast, (GTypeClass * g_class, GType is_a_type), (g_class, is_a_type))
LUMO_FORWARD(GTypeInstance*, g_type_check_instance_cast, (GTypeInstance * instance, GType iface_type),
             (instance, iface_type))
LUMO_FORWARD(gboolean, g_type_check_instance_is_a, (GTypeInstance * instance, GType iface_type),
             (instance, iface_type))
LUMO_FORWARD(void, g_type_class_adjust_private_offset, (gpointer g_class, gint* private_size_or_offset),
             (g_class, private_size_or_offset))
LUMO_FORWARD(gpointer, g_type_class_peek_parent, (gpointer g_class), (g_class))
LUMO_FORWARD(GType, g_type_register_static_simple,
             (GType parent_type, const gchar* type_name, guint class_size, GClassInitFunc class_init,
              guint instance_size, GInstanceInitFunc instance_init, GTypeFlags flags),
             (parent_type, type_name, class_size, class_init, instance_size, instance_init, flags))
