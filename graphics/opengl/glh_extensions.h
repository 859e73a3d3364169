#pragma once
// OpenGL extension loading. Two independent sets of entry-point pointers,
// both generated from the catalogue (glh_extension_catalogue.h):
// - demo::probe: filled once by probeExtensions() right after the window's
//   context exists; the graphics code and the effects call through it;
// - demo::request: filled by initRequestedExtensions() for the shader-text
//   parsers.
// Every pointer is null until resolved; filling one set never touches the
// other. They live in namespaces because libGL exports functions of the same
// names.

#include <cstddef>
#include <span>
#include <string_view>

#include "graphics/opengl/glh_extension_catalogue.h"
#include "platform/gl_proc_address.h"

namespace demo {

namespace probe {
#define DEMO_DECLARE_ENTRY_POINT(extension, name, type) extern type name;
DEMO_GL_ENTRY_POINTS(DEMO_DECLARE_ENTRY_POINT)
#undef DEMO_DECLARE_ENTRY_POINT
}  // namespace probe

namespace request {
#define DEMO_DECLARE_ENTRY_POINT(extension, name, type) extern type name;
DEMO_GL_ENTRY_POINTS(DEMO_DECLARE_ENTRY_POINT)
#undef DEMO_DECLARE_ENTRY_POINT
}  // namespace request

// Resolves the probe set for every catalogue extension named in the driver's
// extension string (a plain substring search). Needs a current context. Only
// the first call does anything; always true.
bool probeExtensions();

// Whether the driver's extension string names the extension (a whole name,
// not a prefix of a longer one): what decides support, since unresolved
// entry points may be stubs rather than null. Probes the extensions first.
bool extensionListed(std::string_view name);

// For each name of a space-, tab- or line-feed-separated list: tests support
// and resolves the request set's entry points. 1 when every name is supported
// and fully resolved, else 0; every name is tried. Null or empty: 1.
int initRequestedExtensions(const char* names);

// 1 when `name` followed by a space occurs in `supported`; "GL_VERSION_1_2"
// is judged from the GL_VERSION string instead.
int isExtensionSupported(const char* name, const char* supported);

// Resolves the request set's entry points of one catalogue extension, in
// order, stopping at the first the driver cannot supply. 0 for an unknown
// name or an unresolved entry point.
int resolveExtensionEntryPoints(const char* name);

// The driver's extension string with every space turned into a line feed, as
// probeExtensions() copied it; empty before. Effects search it for names.
const char* extensionString();

// GL string, " ", window-system string, " ": what initRequestedExtensions()
// tests names against; empty before its first call.
const char* supportedExtensions();

// The catalogue, for inspection.
struct CatalogueEntryPoint {
    const char* extension;
    const char* name;
};
std::span<const char* const> catalogueExtensions();
std::span<const CatalogueEntryPoint> catalogueEntryPoints();

enum class PointerSet { Probe, Request };
// The current value of catalogue entry point `index` in a set.
platform::GLProc entryPoint(PointerSet set, std::size_t index);

// Where the loader gets its answers: the entry-point resolver, GL strings
// (GL_EXTENSIONS, GL_VERSION) and the window system's extension string.
struct ExtensionDriver {
    platform::GLProc (*getProcAddress)(const char* name);
    const char* (*glString)(GLenum name);
    const char* (*windowSystemExtensions)();
};
// Replaces the driver (tests); null restores the real one.
void setExtensionDriver(const ExtensionDriver* driver);
// Forgets the probe, both strings and every resolved pointer (tests).
void resetExtensionLoader();

}  // namespace demo
