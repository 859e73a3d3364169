#pragma once
// The three ways cameras and lights drive an animated parameter's path.

#include "math/animated_param.h"

namespace demo {

// Back to the first key: time 0, no key found yet, nothing cached.
template <typename T>
void rewind(AnimatedParam<T>& param) {
    if (!param.path) return;
    param.path->time = 0.0f;
    param.path->lastKey = -1;
    param.path->cached = false;
}

// The value at the current time; the path then moves on by its time step.
template <typename T>
T readAndStep(AnimatedParam<T>& param) {
    const T v = param.value();
    if (param.path) {
        param.path->time += param.path->timeStep;
        param.path->cached = false;
    }
    return v;
}

template <typename T>
void setParamTime(AnimatedParam<T>& param, float t) {
    if (!param.path) return;
    param.path->time = t;
    param.path->cached = false;
}

}  // namespace demo
