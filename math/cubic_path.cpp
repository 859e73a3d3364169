#include "math/cubic_path.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace demo {

namespace {
float magnitude(float v) { return std::fabs(v); }
float magnitude(const Vector3& v) { return v.length(); }
}  // namespace

template <typename T>
bool CubicPath<T>::init(std::vector<T>&& keyPoints, std::vector<float>&& keyTimes) {
    if (keyPoints.empty()) {
        this->initialized = true;
        return true;
    }
    if (keyTimes.size() != keyPoints.size()) return false;
    // The key search relies on ascending times.
    for (std::size_t i = 0; i < keyTimes.size(); ++i) {
        if (std::isnan(keyTimes[i]) || (i > 0 && keyTimes[i] < keyTimes[i - 1])) return false;
    }

    points = std::move(keyPoints);
    times = std::move(keyTimes);
    const std::size_t n = points.size();
    directions.assign(n, T{});
    lastKey = 0;
    this->cached = false;

    if (n > 1) {
        directions[0] = (points[1] - points[0]) * 0.5f;
        directions[n - 1] = (points[n - 1] - points[n - 2]) * 0.5f;
    }
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const T d = points[i + 1] - points[i - 1];
        const float chord = magnitude(d);
        if (chord == 0.0f) continue;
        const float a = magnitude(points[i + 1] - points[i]);
        const float b = magnitude(points[i] - points[i - 1]);
        const float shorter = b <= a ? b : a;
        // Along the chord through the neighbours, a third of the shorter side long.
        directions[i] = d * (1.0f / chord) * (shorter * 0.33333334f);
    }
    this->initialized = true;
    return true;
}

template <typename T>
bool CubicPath<T>::isBeforeStart() const {
    if (this->loop) return false;
    return times.empty() || this->time <= times.front();
}

template <typename T>
bool CubicPath<T>::isAfterEnd() const {
    if (this->loop) return false;
    return times.empty() || this->time >= times.back();
}

template <typename T>
bool CubicPath<T>::hasTooFewKeys() const {
    return points.empty() || times.size() < 2;
}

template <typename T>
int CubicPath<T>::findKey(float t) const {
    const int n = static_cast<int>(times.size());
    // Outside the keys (or NaN) the search would run off the arrays.
    if (n < 2 || !(t >= times.front())) return 0;
    if (t > times.back()) return n - 2;
    int lo = 0, hi = n - 1;
    while (lo <= hi) {
        const int mid = std::min((lo + hi) / 2, n - 2);
        if (times[mid] <= t && t <= times[mid + 1]) return mid;
        if (times[mid] < t) lo = mid + 1;
        else hi = mid - 1;
    }
    return 0;  // not reached with ascending times
}

template <typename T>
float CubicPath<T>::wrapTime(float t) const {
    const float first = times.front();
    const float span = times.back() - first;
    if (span == 0.0f) return first;
    const float shifted = first + t;
    return shifted - std::floor(t / span) * span;
}

template <typename T>
T CubicPath<T>::evaluate(float t) {
    if (!this->initialized || points.empty() || times.empty()) return T{};
    const int n = static_cast<int>(points.size());
    if (n == 1) return points[0];

    if (this->loop) {
        // Rounding may carry a wrapped time just past either end.
        t = std::clamp(wrapTime(t), times.front(), times.back());
    } else {
        if (t <= times.front()) return points[0];
        if (t >= times.back()) return points[n - 1];
    }
    if (std::isnan(t)) return points[0];

    int i = lastKey;
    auto inside = [&](int k) { return times[k] <= t && t <= times[k + 1]; };
    if (i < 0 || i > n - 2 || !inside(i)) {
        if (i >= 0 && i + 2 < n && inside(i + 1)) ++i;
        else if (i >= 1 && i <= n - 1 && inside(i - 1)) --i;
        else i = findKey(t);
    }
    lastKey = i;

    if (t == times[i]) return points[i];
    if (t == times[i + 1]) return points[i + 1];

    const float u = (t - times[i]) / (times[i + 1] - times[i]);
    const float s = 1.0f - u;
    const float uu = u * u, ss = s * s;
    const T& p0 = points[i];
    const T& p1 = points[i + 1];
    return p0 * (ss * s) + (p0 + directions[i]) * (3.0f * ss * u) +
           (p1 - directions[i + 1]) * (3.0f * s * uu) + p1 * (uu * u);
}

template <typename T>
void CubicPath<T>::dump(std::ostream& out) const {
    out << "  CubicPath: " << (this->initialized ? "[initialized]" : "") << '\n';
    out << "    lastKey <" << lastKey << ">\n";
    auto list = [&out](const char* title, const auto& items) {
        if (items.empty()) return;
        out << "    " << title << " <" << items.size() << ">\n";
        for (std::size_t i = 0; i < items.size(); ++i) {
            out << "      #" << i << ": ";
            out << items[i];
            out << '\n';
        }
    };
    list("points", points);
    list("times", times);
    list("directions", directions);
}

template class CubicPath<float>;
template class CubicPath<Vector3>;

}  // namespace demo
