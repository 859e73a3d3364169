#pragma once
// Named pieces of vertex memory, cached with reference counts, and the
// registry of vertex-memory types by type word. A type registers itself in
// `pending` when it is made and joins the type map at the next lookup.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "manager/resource_cache.h"
#include "manager/singleton.h"

namespace demo {

class AsciiReader;

struct VertexArray {
    std::string name;
    int refCount = 1;
    unsigned char* data = nullptr;
    int size = 0;  // bytes
};

class VertexArrayType {
public:
    virtual ~VertexArrayType() = default;
    // The array described after the type word, or null.
    virtual VertexArray* create(const std::string& name, AsciiReader& reader) = 0;
    virtual std::string typeName() const = 0;
};

class VertexArrayManager : public ResourceCache<VertexArray>, public Singleton {
public:
    static VertexArrayManager* instance();

    void registerType(VertexArrayType* type);
    // Forgets a type that is going away, queued or entered.
    void unregisterType(VertexArrayType* type);

    // Reads the type word and lets that type make the array; a non-null
    // array is stored under its own name. Unknown words throw ParseError.
    // The manager holds no reference: an array this displaces stays with
    // its holders, and goes at once only when nobody holds it.
    VertexArray* createFromReader(const std::string& name, AsciiReader& reader);

    // The array described by the file `name`. A type that makes nothing
    // gives ResourceMissing, so that no null enters the cache.
    VertexArray* create(const std::string& name) override;

    // Types registered since the last lookup, and the type map by type word.
    std::deque<VertexArrayType*> pending;
    std::map<std::string, VertexArrayType*> types;

    // Displaced arrays that nobody holds go too.
    void collectUnused() override;

private:
    VertexArrayManager() = default;
    void collectPendingTypes();
    void destroy(VertexArray* array) override;

    // Displaced arrays that their holders still hold.
    std::vector<VertexArray*> displaced_;
};

}  // namespace demo
