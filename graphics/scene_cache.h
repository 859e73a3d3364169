#pragma once
// One of a scene's named collections (objects, cameras, lights). Items count
// their holders in `refCount`; the collection holds one reference to each
// item it was given, and a holder that is done with an item releases it.

#include <map>
#include <string>
#include <vector>

namespace demo {

// Drops one reference of an item kept outside any collection, or of one
// whose collection still holds it; the last one destroys the item.
template <class T>
void releaseCounted(T* item) {
    if (item != nullptr && --item->refCount < 1) delete item;
}

template <class T>
class SceneCache {
  public:
    SceneCache() = default;
    SceneCache(const SceneCache&) = delete;
    SceneCache& operator=(const SceneCache&) = delete;
    // Gives back the collection's references: items nobody else holds go.
    ~SceneCache() {
        for (auto& [name, item] : items_) releaseCounted(item);
        for (T* item : displaced_) releaseCounted(item);
    }

    // Takes over the creator's reference and enters the item under its name.
    // An item it displaces keeps the collection's reference until the
    // collection goes, since others (a parent, say) may still list it.
    T* enter(T* item) {
        T*& slot = items_[item->name];
        if (slot != nullptr && slot != item) displaced_.push_back(slot);
        slot = item;
        return item;
    }

    // The item of that name with one reference added; null, and nothing
    // made, when there is none.
    T* get(const std::string& name) {
        T* item = find(name);
        if (item != nullptr) ++item->refCount;
        return item;
    }

    // The item of that name, no reference added; null when there is none.
    T* find(const std::string& name) const {
        auto found = items_.find(name);
        return found == items_.end() ? nullptr : found->second;
    }

    // Drops one reference; below 1 the item leaves the collection and goes.
    void release(T* item) {
        if (item == nullptr || --item->refCount > 0) return;
        auto found = items_.find(item->name);
        if (found != items_.end() && found->second == item) items_.erase(found);
        std::erase(displaced_, item);
        delete item;
    }

    // Destroys the entries whose count has been lowered below 1 directly.
    void collectUnused() {
        for (auto it = items_.begin(); it != items_.end();) {
            if (it->second->refCount < 1) {
                delete it->second;
                it = items_.erase(it);
            } else {
                ++it;
            }
        }
    }

    // The newest item of each name, in ascending byte order of the names.
    std::vector<T*> values() const {
        std::vector<T*> out;
        out.reserve(items_.size());
        for (const auto& entry : items_) out.push_back(entry.second);
        return out;
    }
    std::size_t size() const { return items_.size(); }

  private:
    std::map<std::string, T*> items_;
    std::vector<T*> displaced_;
};

}  // namespace demo
