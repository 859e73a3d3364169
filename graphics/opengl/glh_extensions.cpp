#include "graphics/opengl/glh_extensions.h"

#include <cstring>
#include <string>
#include <string_view>

namespace demo {

namespace probe {
#define DEMO_DEFINE_ENTRY_POINT(extension, name, type) type name = nullptr;
DEMO_GL_ENTRY_POINTS(DEMO_DEFINE_ENTRY_POINT)
#undef DEMO_DEFINE_ENTRY_POINT
}  // namespace probe

namespace request {
#define DEMO_DEFINE_ENTRY_POINT(extension, name, type) type name = nullptr;
DEMO_GL_ENTRY_POINTS(DEMO_DEFINE_ENTRY_POINT)
#undef DEMO_DEFINE_ENTRY_POINT
}  // namespace request

namespace {

using platform::GLProc;

// Extension names are stringised, never expanded: glext.h defines most of
// them as macros.
#define DEMO_EXTENSION_NAME(extension) #extension,
constexpr const char* kExtensions[] = {DEMO_GL_EXTENSION_NAMES(DEMO_EXTENSION_NAME)};
#undef DEMO_EXTENSION_NAME

#define DEMO_CATALOGUE_ENTRY(extension, name, type) {#extension, #name},
constexpr CatalogueEntryPoint kEntryPoints[] = {DEMO_GL_ENTRY_POINTS(DEMO_CATALOGUE_ENTRY)};
#undef DEMO_CATALOGUE_ENTRY

constexpr std::size_t kEntryPointCount = std::size(kEntryPoints);

// Typed access to each set's pointers by catalogue index.
struct Slot {
    void (*set)(GLProc proc);
    GLProc (*get)();
};

#define DEMO_SLOT(set_, name)                                                               \
    Slot{[](GLProc proc) { set_::name = reinterpret_cast<decltype(set_::name)>(proc); }, \
         [] { return reinterpret_cast<GLProc>(set_::name); }},
#define DEMO_PROBE_SLOT(extension, name, type) DEMO_SLOT(probe, name)
#define DEMO_REQUEST_SLOT(extension, name, type) DEMO_SLOT(request, name)
const Slot kProbeSlots[] = {DEMO_GL_ENTRY_POINTS(DEMO_PROBE_SLOT)};
const Slot kRequestSlots[] = {DEMO_GL_ENTRY_POINTS(DEMO_REQUEST_SLOT)};
#undef DEMO_PROBE_SLOT
#undef DEMO_REQUEST_SLOT
#undef DEMO_SLOT

static_assert(std::size(kProbeSlots) == kEntryPointCount);
static_assert(std::size(kRequestSlots) == kEntryPointCount);

// Probing skips these two: their entry points go through the request set only.
constexpr std::string_view kNotProbed[] = {"GL_EXT_paletted_texture", "GL_EXT_vertex_array"};

const char* realGlString(GLenum name) {
    return reinterpret_cast<const char*>(glGetString(name));
}

// No window-system extension string exists here.
const char* noWindowSystemExtensions() { return ""; }

const ExtensionDriver kRealDriver{platform::getProcAddress, realGlString,
                                  noWindowSystemExtensions};
ExtensionDriver driver = kRealDriver;

bool probed = false;
std::string probedExtensions;
bool supportedBuilt = false;
std::string supported;

std::string glString(GLenum name) {
    const char* text = driver.glString(name);
    return text != nullptr ? text : "";
}

// The catalogue range [first, last) of one extension's entry points.
struct Range {
    std::size_t first = 0;
    std::size_t last = 0;
};

Range entryPointsOf(std::string_view extension) {
    Range range;
    std::size_t i = 0;
    while (i < kEntryPointCount && extension != kEntryPoints[i].extension) ++i;
    range.first = i;
    while (i < kEntryPointCount && extension == kEntryPoints[i].extension) ++i;
    range.last = i;
    return range;
}

bool isCatalogued(std::string_view name) {
    for (const char* extension : kExtensions) {
        if (name == extension) return true;
    }
    return false;
}

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

bool probeExtensions() {
    if (probed) return true;
    probed = true;
    probedExtensions = glString(GL_EXTENSIONS);
    for (char& c : probedExtensions) {
        if (c == ' ') c = '\n';
    }
    for (const char* extension : kExtensions) {
        bool skipped = false;
        for (std::string_view name : kNotProbed) skipped = skipped || name == extension;
        if (skipped || probedExtensions.find(extension) == std::string::npos) continue;
        Range range = entryPointsOf(extension);
        for (std::size_t i = range.first; i < range.last; ++i) {
            kProbeSlots[i].set(driver.getProcAddress(kEntryPoints[i].name));
        }
    }
    return true;
}

int isExtensionSupported(const char* name, const char* supportedNames) {
    if (name == nullptr) return 0;
    if (std::strcmp(name, "GL_VERSION_1_2") == 0) {
        // No version string (no current context) is no support either.
        std::string version = glString(GL_VERSION);
        if (version.empty()) return 0;
        return version.rfind("1.0", 0) != 0 && version.rfind("1.1", 0) != 0 ? 1 : 0;
    }
    if (supportedNames == nullptr) return 0;
    std::string wanted = std::string(name) + " ";
    return std::strstr(supportedNames, wanted.c_str()) != nullptr ? 1 : 0;
}

int resolveExtensionEntryPoints(const char* name) {
    if (name == nullptr || !isCatalogued(name)) return 0;
    Range range = entryPointsOf(name);
    for (std::size_t i = range.first; i < range.last; ++i) {
        GLProc proc = driver.getProcAddress(kEntryPoints[i].name);
        if (proc == nullptr) return 0;
        kRequestSlots[i].set(proc);
    }
    return 1;
}

int initRequestedExtensions(const char* names) {
    if (!supportedBuilt) {
        supportedBuilt = true;
        const char* windowSystem = driver.windowSystemExtensions();
        supported = glString(GL_EXTENSIONS) + " " + (windowSystem != nullptr ? windowSystem : "") +
                    " ";
    }
    if (names == nullptr) return 1;

    std::string_view list(names);
    int result = 1;
    std::size_t at = 0;
    while (at < list.size()) {
        while (at < list.size() && isSeparator(list[at])) ++at;
        std::size_t end = at;
        while (end < list.size() && !isSeparator(list[end])) ++end;
        if (end == at) break;
        std::string name(list.substr(at, end - at));
        if (isExtensionSupported(name.c_str(), supported.c_str()) == 0 ||
            resolveExtensionEntryPoints(name.c_str()) == 0) {
            result = 0;
        }
        at = end;
    }
    return result;
}

const char* extensionString() { return probedExtensions.c_str(); }

const char* supportedExtensions() { return supported.c_str(); }

std::span<const char* const> catalogueExtensions() { return kExtensions; }

std::span<const CatalogueEntryPoint> catalogueEntryPoints() { return kEntryPoints; }

platform::GLProc entryPoint(PointerSet set, std::size_t index) {
    if (index >= kEntryPointCount) return nullptr;
    return set == PointerSet::Probe ? kProbeSlots[index].get() : kRequestSlots[index].get();
}

void setExtensionDriver(const ExtensionDriver* replacement) {
    driver = replacement != nullptr ? *replacement : kRealDriver;
}

void resetExtensionLoader() {
    probed = false;
    probedExtensions.clear();
    supportedBuilt = false;
    supported.clear();
    for (std::size_t i = 0; i < kEntryPointCount; ++i) {
        kProbeSlots[i].set(nullptr);
        kRequestSlots[i].set(nullptr);
    }
}

bool extensionListed(std::string_view name) {
    probeExtensions();
    std::string_view all = extensionString();
    for (std::size_t at = all.find(name); at != std::string_view::npos;
         at = all.find(name, at + 1)) {
        bool starts = at == 0 || all[at - 1] == '\n';
        std::size_t end = at + name.size();
        if (starts && (end == all.size() || all[end] == '\n')) return true;
    }
    return false;
}

}  // namespace demo
