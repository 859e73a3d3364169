#pragma once

#include <vector>

#include "math/animated_value.h"
#include "math/vector3.h"

namespace demo {

// A value interpolated over ascending key times by cubic Bezier segments whose
// inner control points come from tangents computed once by `init`.
template <typename T>
class CubicPath : public AnimatedValue<T> {
public:
    // Takes the keys. No points: the path is initialised and evaluates to zero.
    // Refused (false, the caller keeps both arrays): times of another count than
    // the points, or times that decrease or are not numbers.
    bool init(std::vector<T>&& keyPoints, std::vector<float>&& keyTimes);

    bool isBeforeStart() const override;
    bool isAfterEnd() const override;
    bool hasTooFewKeys() const override;
    void dump(std::ostream& out = std::cout) const override;
    T evaluate(float t) override;

    // Index i of the interval times[i] <= t <= times[i+1]; a time outside the
    // keys is clamped to the first or last interval, NaN counts as the first.
    // Needs at least two keys.
    int findKey(float t) const;
    // Maps t into the key range for looping.
    float wrapTime(float t) const;

    int lastKey = 0;
    std::vector<T> points;
    std::vector<float> times;
    std::vector<T> directions;
};

extern template class CubicPath<float>;
extern template class CubicPath<Vector3>;

}  // namespace demo
