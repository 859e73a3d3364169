#pragma once
// The demo player: loads a show script section by section (with the loading
// bar), then plays its timeline. Each frame it carries out the events that
// have come due, lets the window take one message, runs every started
// process at its local time and shows the frame; it ends at the stop time or
// when the window is done. It is also the window's input listener and
// forwards key presses and mouse input to the processes that have the focus.

#include <map>
#include <memory>
#include <string>

#include "player/event_list.h"
#include "player/show_active_list.h"
#include "player/show_options.h"
#include "player/show_sections.h"
#include "manager/window.h"

namespace demo {

class AsciiReader;
class Clock;
class Event;
class Process;
class ShowHost;

class DemoPlayer : public InputListener {
public:
    DemoPlayer(ShowHost& host, ShowOptions options);
    // Releases every process it holds, before the host closes the window.
    ~DemoPlayer() override;
    DemoPlayer(const DemoPlayer&) = delete;
    DemoPlayer& operator=(const DemoPlayer&) = delete;

    // Reads progress.dat (or starts recording it), the script, and makes
    // the clock.
    void load(const std::string& scriptName);
    // The main loop, from the start time to the stop time.
    void play();

    void key(bool down, int virtualKey) override;
    void mouseMove(unsigned buttons, int x, int y) override;
    void mouseButtons(unsigned buttons, int x, int y) override;

    float stopTime() const { return stopTime_; }

private:
    // One frame at show time `time`: due events, one window message, the
    // running processes, the end of the frame.
    void frame(float time);
    void readScript(const std::string& scriptName);
    void readProcessesSection(AsciiReader& reader);
    void openDisplay(const DisplaySettings& settings);
    // Opens the default window unless one is open; `section` names the
    // section that needed it, for a later screen section's error.
    void ensureDisplay(const char* section);
    void carryOut(Event* event);
    void forwardMouse(unsigned buttons, int x, int y);
    // Hands an event made by make() to each focused process in turn.
    template <typename Make>
    void forward(Make make);
    void releaseAll();

    ShowHost& host_;
    ShowOptions options_;
    Window* window_ = nullptr;
    const char* windowOpenedBy_ = "";
    std::unique_ptr<Clock> clock_;
    MusicSettings music_;
    float stopTime_ = 0.0f;
    float time_ = 0.0f;  // the current frame's show time
    TimelineParts parts_;
    EventList events_;
    ActiveList active_;
    FocusSet focus_;
    // The processes the script declared, each holding the reference it was
    // made with.
    std::map<std::string, Process*> declared_;
    bool haveMouse_ = false;
    int mouseX_ = 0;
    int mouseY_ = 0;
};

}  // namespace demo
