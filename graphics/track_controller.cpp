#include "graphics/track_controller.h"

namespace demo {

namespace {
template <typename T>
bool hasKeys(const AnimatedParam<T>& param) {
    return param.animated && (!param.path || !param.path->points.empty());
}
}  // namespace

template <typename F>
void TrackController::forEachPath(F&& f) {
    if (position.path) f(*position.path);
    if (rotationIndex.path) f(*rotationIndex.path);
    if (scale.path) f(*scale.path);
}

void TrackController::reset(Transform& transform) {
    forEachPath([](auto& path) {
        path.time = 0.0f;
        path.cached = false;
    });
    evaluate(transform);
}

void TrackController::advance(Transform& transform) {
    forEachPath([](auto& path) {
        path.time += path.timeStep;
        path.cached = false;
    });
    evaluate(transform);
}

void TrackController::setTime(Transform& transform, float t) {
    forEachPath([t](auto& path) {
        path.time = t;
        path.cached = false;
    });
    evaluate(transform);
}

void TrackController::setTimeStep(float step) {
    forEachPath([step](auto& path) { path.timeStep = step; });
}

void TrackController::setLoop(bool loop) {
    forEachPath([loop](auto& path) { path.setLoop(loop); });
}

Quaternion TrackController::rotationAtIndex() {
    const auto& path = rotationIndex.path;
    if (!path || path->isBeforeStart()) return rotationKeys.front();
    if (path->isAfterEnd()) return rotationKeys.back();

    // While looping the index can reach the last key number (or, with more
    // index keys than rotations, beyond); the keys are clamped so nothing is
    // read past the array.
    const float f = rotationIndex.value();
    const int last = static_cast<int>(rotationKeys.size()) - 1;
    if (!(f > 0.0f)) return rotationKeys.front();
    if (f >= static_cast<float>(last)) return rotationKeys.back();
    const int i = static_cast<int>(f);
    const float fraction = f - static_cast<float>(i);
    return Quaternion::slerp(rotationKeys[i], rotationKeys[i + 1], fraction);
}

void TrackController::evaluate(Transform& transform) {
    if (hasKeys(position)) transform.setPosition(position.value());
    if (hasKeys(rotationIndex) && !rotationKeys.empty()) transform.orientation = rotationAtIndex();
    if (hasKeys(scale)) transform.setScale(scale.value());
    transform.updateMatrices();
}

}  // namespace demo
