#pragma once
// Events: timed commands addressed to one process. The timeline's START, STOP,
// FOCUS and NOFOCUS, key and mouse input forwarded to focused processes, and
// effects' own commands. An event holds one reference to its target and
// releases it through the process manager when destroyed.

namespace demo {

class Process;

enum EventKind : int {
    EVENT_START = 0,
    EVENT_STOP = 1,
    EVENT_FOCUS = 2,
    EVENT_NOFOCUS = 3,
    EVENT_KEY = 4,
    EVENT_MOUSE = 5,
    EVENT_EFFECT = 6,  // effects' own kinds are 6 and up
};

class EventBase {
public:
    virtual ~EventBase() = default;
};

class Event : public EventBase {
public:
    Event() = default;
    ~Event() override;  // releases the target (null allowed)
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    virtual int kind() const = 0;

    float time = 0.0f;          // show time in seconds at which it is due
    Process* target = nullptr;  // one reference held by the event
};

class StartEvent : public Event {
public:
    int kind() const override { return EVENT_START; }

    float orderKey = 0.0f;  // orders the active list
    bool relative = false;
    float offset = 0.0f;
    float rate = 1.0f;
};

// An event without arguments: STOP, FOCUS, NOFOCUS, or an effect's command.
class TypedEvent : public Event {
public:
    explicit TypedEvent(int kind) : kind_(kind) {}
    int kind() const override { return kind_; }

private:
    int kind_;
};

class KeyEvent : public Event {
public:
    explicit KeyEvent(int key) : key(key) {}
    int kind() const override { return EVENT_KEY; }

    int key;  // virtual-key code
};

class MouseEvent : public Event {
public:
    int kind() const override { return EVENT_MOUSE; }

    int x = 0, y = 0;    // window coordinates
    int dx = 0, dy = 0;  // change since the previous mouse event
    int buttons = 0;     // button mask
    int reserved = 0;
};

}  // namespace demo
