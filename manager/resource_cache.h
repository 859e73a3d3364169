#pragma once
// The named, reference-counted cache that every manager builds on: files,
// processes, textures, images and scenes. T carries its own `name` and a
// count, `referenceCount` or `refCount` (1 when made); the cache creates
// missing objects through the virtual create(), times the creation and steps
// the progress bar once.

#include <map>
#include <set>
#include <string>

#include "manager/progress_bar.h"
#include "manager/timer_base.h"

namespace demo {

// An object's reference count, under either name.
template <typename T>
int& referenceCountOf(T& object) {
    if constexpr (requires { object.refCount; }) {
        return object.refCount;
    } else {
        return object.referenceCount;
    }
}

// Drops one reference that a holder outside any cache had taken; the last
// one deletes the object. A cache that still lists it holds one of its own.
template <typename T>
void releaseCounted(T* object) {
    if (object != nullptr && --referenceCountOf(*object) < 1) delete object;
}

template <typename T>
class ResourceCache {
public:
    virtual ~ResourceCache() = default;  // frees the map, not the objects

    // The object under name, one reference added; created on a miss.
    // Exceptions from create() pass through and leave nothing behind; a null
    // from create() is returned, not stored, so the next get() tries again.
    T* get(const std::string& name) {
        auto found = objects_.find(name);
        if (found != objects_.end()) {
            ++referenceCountOf(*found->second);
            return found->second;
        }
        T* object = timedCreate([&] { return create(name); });
        if (object != nullptr) objects_[name] = object;
        return object;
    }

    // Drops one reference; at 0 or below the object is deleted.
    virtual void release(T* object) {
        if (object == nullptr || --referenceCountOf(*object) > 0) return;
        destroy(object);
    }

    // Deletes every object whose count has fallen below 1, once each.
    virtual void collectUnused() {
        std::set<T*> unused;
        for (const auto& entry : objects_) {
            if (referenceCountOf(*entry.second) < 1) unused.insert(entry.second);
        }
        for (T* object : unused) destroy(object);
    }

    float loadSeconds() const { return loadSeconds_; }
    const std::map<std::string, T*>& objects() const { return objects_; }

protected:
    virtual T* create(const std::string& name) = 0;

    // For managers whose objects can sit under more than one name.
    std::map<std::string, T*>& entries() { return objects_; }

    // Erases every name that still maps to the object, then deletes it. After
    // a redeclaration its own name belongs to a newer one; a manager may list
    // it under the name it was asked for by as well.
    virtual void destroy(T* object) {
        std::erase_if(objects_, [object](const auto& entry) { return entry.second == object; });
        delete object;
    }

    // For managers that store objects made outside get() (declared processes).
    // Returns the object that the name mapped to before, or null.
    T* store(const std::string& name, T* object) {
        T*& slot = objects_[name];
        T* previous = slot;
        slot = object;
        return previous == object ? nullptr : previous;
    }

    // The object that make() returns, its time added to the load time and
    // the progress bar stepped once (unless told not to); exceptions from
    // make() pass through.
    template <class Make>
    T* timedCreate(Make make, bool stepProgress = true) {
        double t0 = secondsSinceStart();
        T* object = make();
        double t1 = secondsSinceStart();
        loadSeconds_ += static_cast<float>(t1 - t0);
        if (stepProgress) ProgressBar::instance()->step();
        return object;
    }

private:
    std::map<std::string, T*> objects_;
    float loadSeconds_ = 0.0f;
};

}  // namespace demo
