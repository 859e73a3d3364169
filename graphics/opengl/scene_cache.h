#pragma once
// One of a scene's named collections (objects, cameras, lights): a cache that
// makes nothing on a miss. Items count their holders in `refCount`; the
// collection holds one reference to each item it was given and gives them
// back when it goes, so what others still hold lives on.

#include <algorithm>
#include <string>
#include <vector>

#include "manager/resource_cache.h"

namespace demo {

template <class T>
class SceneCache : public ResourceCache<T> {
  public:
    SceneCache() = default;
    SceneCache(const SceneCache&) = delete;
    SceneCache& operator=(const SceneCache&) = delete;
    ~SceneCache() override {
        for (const auto& entry : this->objects()) releaseCounted(entry.second);
        for (T* item : displaced_) releaseCounted(item);
    }

    // Takes over the creator's reference and enters the item under its name.
    // An item it displaces keeps the collection's reference until the
    // collection goes, since others (a parent, say) may still list it.
    T* enter(T* item) {
        if (T* displaced = this->store(item->name, item)) displaced_.push_back(displaced);
        return item;
    }

    // Nobody can get a displaced item by name any more, so releasing one the
    // collection still holds gives back that reference (its creator's, taken
    // over by enter); the count alone cannot tell whose reference goes.
    void release(T* item) override {
        auto held = std::find(displaced_.begin(), displaced_.end(), item);
        if (held != displaced_.end()) displaced_.erase(held);
        ResourceCache<T>::release(item);
    }

    // The item of that name, no reference added; null when there is none.
    T* find(const std::string& name) const {
        auto found = this->objects().find(name);
        return found == this->objects().end() ? nullptr : found->second;
    }

    // The newest item of each name, in ascending byte order of the names.
    std::vector<T*> values() const {
        std::vector<T*> out;
        out.reserve(this->objects().size());
        for (const auto& entry : this->objects()) out.push_back(entry.second);
        return out;
    }

  protected:
    T* create(const std::string&) override { return nullptr; }

  private:
    // Displaced items to which the collection still holds its own reference.
    std::vector<T*> displaced_;
};

}  // namespace demo
