#pragma once

#include <memory>

#include <vector>

#include "graphics/transform.h"
#include "math/animated_param.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace demo {

// Animates one scene node: up to three key-frame tracks (position, rotation,
// scale) whose values at the current time are written into a Transform. The
// rotation track is a list of absolute key rotations plus `rotationIndex`, a
// path of the key numbers 0, 1, 2, ... at the keys' times, whose value is a
// fractional key number. A track with no keys counts as absent.
class TrackController {
public:
    virtual ~TrackController() = default;

    // Rewinds every track to time 0 and evaluates.
    virtual void reset(Transform& transform);
    // Steps every track by its own timeStep and evaluates.
    virtual void advance(Transform& transform);
    // Puts every track at time t and evaluates.
    virtual void setTime(Transform& transform, float t);
    virtual void setTimeStep(float step);
    virtual void setLoop(bool loop);

    // Writes the tracks' current values into the transform and always
    // rebuilds its matrices.
    void evaluate(Transform& transform);

    AnimatedParam<Vector3> position;
    std::vector<Quaternion> rotationKeys;
    AnimatedParam<float> rotationIndex;
    AnimatedParam<Vector3> scale;

private:
    template <typename F>
    void forEachPath(F&& f);
    Quaternion rotationAtIndex();
};

// Gives a holder (scene object, camera, light) a new controller that lives as
// long as the holder and every clone that copied `trackOwner`.
template <class Holder>
TrackController& newTracks(Holder& holder) {
    holder.trackOwner = std::make_shared<TrackController>();
    holder.trackController = holder.trackOwner.get();
    return *holder.trackController;
}

}  // namespace demo
