#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "math/cubic_path.h"

namespace demo {

// A parameter that is either a constant or an owned key-frame path.
template <typename T>
class AnimatedParam {
public:
    // Gives the parameter a path over the keys; used while it has none. False
    // (the caller keeps the arrays, the parameter stays constant) when the
    // counts differ or the path refuses the keys.
    bool setKeys(std::vector<T>&& keyPoints, std::vector<float>&& keyTimes) {
        if (keyPoints.size() != keyTimes.size()) return false;
        auto fresh = std::make_unique<CubicPath<T>>();
        if (!fresh->init(std::move(keyPoints), std::move(keyTimes))) return false;
        path = std::move(fresh);
        animated = true;
        return true;
    }

    T value() { return path ? path->value() : constant; }

    bool animated = false;
    std::unique_ptr<CubicPath<T>> path;
    T constant{};
};

}  // namespace demo
