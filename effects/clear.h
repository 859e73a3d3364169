#pragma once
// The "clear" effect: clears the colour and depth buffers to its colour each
// frame. Its command SET_COLOR changes the colour from the event's time on.

#include <array>
#include <string>

#include "manager/event.h"
#include "manager/process.h"

namespace demo {

using Colour = std::array<float, 4>;

// SET_COLOR < r g b a >
class ClearColourEvent : public Event {
public:
    static constexpr int kKind = EVENT_EFFECT;
    explicit ClearColourEvent(const Colour& colour) : colour(colour) {}
    int kind() const override { return kKind; }

    Colour colour;
};

class Clear : public Process {
public:
    // Parameters: color < r g b a > (default opaque black).
    Clear(const std::string& name, ProcessType* type, AsciiReader& reader);

    void run(float localTime) override;
    void handleEvent(Event* event) override;

    // SET_COLOR reads its colour and the entry's closing brace; null for
    // any other command.
    static Event* createEvent(const std::string& command, Process* target, AsciiReader& reader);

    const Colour& colour() const { return colour_; }

private:
    Colour colour_{0.0f, 0.0f, 0.0f, 1.0f};
};

}  // namespace demo
