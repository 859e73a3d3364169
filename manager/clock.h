#pragma once
// The show's single time source. The demo player starts it at the show's
// start time, reads it once a frame and stops it after the last frame.

namespace demo {

class Clock {
public:
    // Start (or restart) so that the clock reads t seconds now.
    virtual void start(float t) = 0;
    // Pause; a stopped clock keeps its time.
    virtual void stop() = 0;
    // Current time in seconds.
    virtual float getTime() = 0;
    // Time at which the clock's material ends; the player never runs past it.
    virtual float getEnd() = 0;
    virtual ~Clock() = default;
};

// What both clocks report as their end: the largest finite float, so the
// script's stop time alone decides when the show ends.
inline constexpr float kClockNoEnd = 3.4028235e38f;

}  // namespace demo
