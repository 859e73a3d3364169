#pragma once
// Registrars (effect types, vertex-array types, scene creators) queue
// themselves, often before the program starts, and join their manager's
// name map at its first lookup.

#include <string>
#include <utility>

namespace demo {

// Moves every queued registrar into `types` under nameOf(registrar). Drained
// from the back, so of two with one name the one queued first is stored last
// and wins. Works for raw and owning pointers alike.
template <class Queue, class Map, class NameOf>
void drainPendingTypes(Queue& pending, Map& types, NameOf nameOf) {
    while (!pending.empty()) {
        auto type = std::move(pending.back());
        pending.pop_back();
        const std::string name = nameOf(*type);
        types[name] = std::move(type);
    }
}

}  // namespace demo
