#include "graphics/opengl/vertex_array_manager.h"

#include <algorithm>

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
    if (VertexArray* displaced = store(array->name, array)) release(displaced);
    return array;
}

VertexArray* VertexArrayManager::create(const std::string& name) {
    AsciiReader reader(name);
    VertexArray* array = createFromReader(name, reader);
    if (array == nullptr) throw ResourceMissing(name, kNoArrayMade.unit, kNoArrayMade.line);
    return array;
}

}  // namespace demo
