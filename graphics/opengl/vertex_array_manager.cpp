#include "graphics/opengl/vertex_array_manager.h"

#include <algorithm>
#include <iterator>

#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/pending_types.h"
#include "manager/source_location.h"

namespace demo {
namespace {

constexpr source::Location kUnknownArrayType{"graphics/vertexarray", 30};
constexpr source::Location kNoArrayMade{"graphics/vertexarray", 40};

}  // namespace

VertexArrayManager* VertexArrayManager::instance() {
    static VertexArrayManager* manager = new VertexArrayManager();
    return manager;
}

void VertexArrayManager::registerType(VertexArrayType* type) { pending.push_back(type); }

void VertexArrayManager::unregisterType(VertexArrayType* type) {
    std::erase(pending, type);
    std::erase_if(types, [type](const auto& entry) { return entry.second == type; });
}

void VertexArrayManager::collectPendingTypes() {
    drainPendingTypes(pending, types, [](VertexArrayType& type) { return type.typeName(); });
}

VertexArray* VertexArrayManager::createFromReader(const std::string& name, AsciiReader& reader) {
    std::string typeWord = reader.readString();
    collectPendingTypes();
    auto found = types.find(typeWord);
    if (found == types.end()) {
        throw reader.error("Unknown array type '" + typeWord + "'.", kUnknownArrayType);
    }
    VertexArray* array = found->second->create(name, reader);
    if (array == nullptr) return nullptr;
    // An array still listed under the name it was asked for by stays there.
    VertexArray* displaced = store(array->name, array);
    if (displaced != nullptr && std::ranges::none_of(entries(), [displaced](const auto& entry) {
            return entry.second == displaced;
        })) {
        if (displaced->refCount < 1) {
            delete displaced;
        } else {
            displaced_.push_back(displaced);
        }
    }
    return array;
}

VertexArray* VertexArrayManager::create(const std::string& name) {
    AsciiReader reader(name);
    VertexArray* array = createFromReader(name, reader);
    if (array == nullptr) throw ResourceMissing(name, kNoArrayMade.unit, kNoArrayMade.line);
    return array;
}

void VertexArrayManager::collectUnused() {
    ResourceCache::collectUnused();
    std::vector<VertexArray*> unused;
    std::ranges::copy_if(displaced_, std::back_inserter(unused),
                         [](const VertexArray* array) { return array->refCount < 1; });
    for (VertexArray* array : unused) destroy(array);
}

void VertexArrayManager::destroy(VertexArray* array) {
    std::erase(displaced_, array);
    ResourceCache::destroy(array);
}

}  // namespace demo
