#pragma once
// A stage for the player without a screen or a sound card: a window that
// draws nothing, a clock that reads scripted times, a host that hands them
// out, and a "recorder" effect that logs what it is given. Each test runs in
// a scratch directory of its own, where it writes its scripts.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "manager/ascii_reader.h"
#include "manager/clock.h"
#include "manager/event.h"
#include "manager/fileio.h"
#include "manager/parameters.h"
#include "manager/process.h"
#include "manager/progress_bar.h"
#include "manager/show_host.h"
#include "manager/window.h"

namespace demo::testing {

class NullWindow : public Window {
public:
    DeviceContext dc() override { return nullptr; }
    void swapBuffers() override { ++swaps; }
    void pumpMessages() override {
        ++pumps;
        if (onPump) onPump(*this);
    }

    int swaps = 0;
    int pumps = 0;
    std::function<void(NullWindow&)> onPump;
};

// What happened to a clock, kept by the host: the player owns the clock.
struct ClockRecord {
    float startedAt = -1.0f;
    bool stopped = false;
};

// Reads the scripted times in turn, then a time past any stop time.
class ScriptedClock : public Clock {
public:
    ScriptedClock(std::vector<float> times, float end, ClockRecord& record)
        : times_(std::move(times)), end_(end), record_(record) {}
    void start(float t) override { record_.startedAt = t; }
    void stop() override { record_.stopped = true; }
    float getTime() override {
        return next_ < times_.size() ? times_[next_++] : std::numeric_limits<float>::infinity();
    }
    float getEnd() override { return end_; }

private:
    std::vector<float> times_;
    std::size_t next_ = 0;
    float end_;
    ClockRecord& record_;
};

class TestHost : public ShowHost {
public:
    ~TestHost() override { delete window; }

    Window* openDisplay(const DisplaySettings& opened) override {
        ++displaysOpened;
        settings = opened;
        window = new NullWindow;
        return window;
    }
    Clock* makeClock(const std::string& file, bool sound) override {
        musicFile = file;
        soundOn = sound;
        return new ScriptedClock(times, clockEnd, clock);
    }
    void endFrame(Window&) override { ++frames; }

    std::vector<float> times;  // what the clock will read, frame after frame
    float clockEnd = kClockNoEnd;
    NullWindow* window = nullptr;
    ClockRecord clock;
    DisplaySettings settings;
    int displaysOpened = 0;
    std::string musicFile;
    bool soundOn = false;
    int frames = 0;
};

// Everything the recorders did, in order: "run a 1.5", "event a 2", "key a 65",
// "mouse a 10 20 3 -4 1", "mark a 7", "deleted a".
inline std::vector<std::string>& journal() {
    static std::vector<std::string> lines;
    return lines;
}

inline std::string formatNumber(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// MARK <number>: an effect command with an argument.
class MarkEvent : public Event {
public:
    int kind() const override { return 7; }
    float value = 0.0f;
};

class Recorder : public Process {
public:
    Recorder(const std::string& name, ProcessType* type, AsciiReader& reader) : Process(name, type) {
        reader.readParameters(table_);
    }
    ~Recorder() override { journal().push_back("deleted " + name); }

    void run(float localTime) override {
        journal().push_back("run " + name + " " + formatNumber(localTime));
    }
    void handleEvent(Event* event) override {
        std::string line;
        switch (event->kind()) {
            case EVENT_KEY:
                line = "key " + name + " " + std::to_string(static_cast<KeyEvent*>(event)->key);
                break;
            case EVENT_MOUSE: {
                auto* mouse = static_cast<MouseEvent*>(event);
                line = "mouse " + name + " " + std::to_string(mouse->x) + " " +
                       std::to_string(mouse->y) + " " + std::to_string(mouse->dx) + " " +
                       std::to_string(mouse->dy) + " " + std::to_string(mouse->buttons);
                break;
            }
            case 7:
                line = "mark " + name + " " + formatNumber(static_cast<MarkEvent*>(event)->value);
                break;
            default:
                line = "event " + name + " " + std::to_string(event->kind());
        }
        journal().push_back(line + " @" + formatNumber(event->time));
    }

    static Event* createEvent(const std::string& command, Process*, AsciiReader& reader) {
        if (command != "MARK") return nullptr;
        auto* event = new MarkEvent;
        event->value = reader.readNumber();
        reader.expectSymbol('}');
        return event;
    }

private:
    ParameterDesc table_[1] = {{nullptr, PARAM_END, nullptr, nullptr}};
};

inline ProcessRegistrar<Recorder>& recorderType() {
    static ProcessRegistrar<Recorder> type("recorder");
    return type;
}

// Runs each test in a fresh scratch directory with an empty progress.dat
// (no fractions: loading only counts steps), and checks on the way out that
// every process the test made is gone.
class ShowTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorderType();
        const char* tmp = std::getenv("DEMO_TEST_TMP");
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::path(tmp != nullptr ? tmp : "/tmp") /
               (std::string("player_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        writeFile("progress.dat", "");
        ProgressBar::instance()->reset();
        FileSystem::instance()->collectUnused();  // forget files of earlier tests
        journal().clear();
    }

    void TearDown() override {
        std::filesystem::current_path(previous_);
        EXPECT_TRUE(ProcessManager::instance()->objects().empty())
            << "a process outlived the player: "
            << ProcessManager::instance()->objects().begin()->first;
    }

    static void writeFile(const std::string& name, const std::string& text) {
        std::ofstream(name, std::ios::binary) << text;
    }

    // The journal lines that start with `prefix`.
    static std::vector<std::string> linesStarting(const std::string& prefix) {
        std::vector<std::string> found;
        for (const std::string& line : journal()) {
            if (line.rfind(prefix, 0) == 0) found.push_back(line);
        }
        return found;
    }

    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

}  // namespace demo::testing
