#pragma once

#include <iostream>

namespace demo {

// An animated value of T (float or Vector3). Users write `time`, clear
// `cached` and read `value()`; frame-stepped users then add `timeStep`.
template <typename T>
class AnimatedValue {
public:
    virtual ~AnimatedValue() = default;

    virtual bool isBeforeStart() const = 0;
    virtual bool isAfterEnd() const = 0;
    virtual bool hasTooFewKeys() const = 0;
    virtual void dump(std::ostream& out = std::cout) const { (void)out; }
    virtual void setLoop(bool on) { loop = on; }
    virtual T evaluate(float t) = 0;

    // Zero while not initialised (and then nothing is cached).
    T value() {
        if (!initialized) {
            cachedValue = T{};
            return cachedValue;
        }
        if (!cached) {
            cachedValue = evaluate(time);
            cached = true;
        }
        return cachedValue;
    }

    bool initialized = false;
    float time = 0.0f;
    float timeStep = 1.0f;
    bool cached = false;
    T cachedValue{};
    bool loop = false;
};

}  // namespace demo
