#include "player/demo_player.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "manager/ascii_reader.h"
#include "manager/clock.h"
#include "manager/event.h"
#include "manager/exceptions.h"
#include "manager/process.h"
#include "manager/progress_bar.h"
#include "player/named_entries.h"
#include "player/show_host.h"
#include "player/scenes_section.h"
#include "player/textures_section.h"
#include "manager/source_location.h"

namespace demo {

namespace {

constexpr int kProgressOutputLine = 73;
constexpr source::Location kSecondScreen{source::kDemoPlayer, 148};
constexpr source::Location kDeclaredLate{source::kDemoPlayer, 181};

}  // namespace

DemoPlayer::DemoPlayer(ShowHost& host, ShowOptions options)
    : host_(host), options_(std::move(options)) {}

DemoPlayer::~DemoPlayer() {
    releaseAll();
    if (window_ != nullptr && window_->listener() == this) window_->setListener(nullptr);
}

void DemoPlayer::releaseAll() {
    events_.clear();
    active_.clear();
    focus_.clear();
    // declared_ holds the newest process of each name with our reference;
    // a redeclaration released the earlier one.
    for (auto& [name, process] : declared_) ProcessManager::instance()->release(process);
    declared_.clear();
}

void DemoPlayer::load(const std::string& scriptName) {
    ProgressBar* bar = ProgressBar::instance();
    if (options_.generateProgress) {
        std::FILE* output = std::fopen("progress.dat", "wb");
        if (output == nullptr) {
            throw DemoPlayerException("Cannot write progress.dat.", source::kDemoPlayer,
                                      kProgressOutputLine);
        }
        bar->startGenerating(output);
    } else {
        bar->loadTimes("progress.dat");
    }
    bar->begin();
    readScript(scriptName);
    ensureDisplay("end");
    bar->end();

    clock_.reset(host_.makeClock(music_.file, options_.sound));
    stopTime_ = std::min(music_.stopTime, clock_->getEnd());
}

void DemoPlayer::readScript(const std::string& scriptName) {
    static const char* const sections[] = {"data",     "screen",   "music",  "processes",
                                           "events",   "textures", "scenes", "end",
                                           nullptr};
    AsciiReader reader(scriptName);
    for (;;) {
        int section = reader.readOneOf(sections);
        switch (section) {
            case 0:
                readDataSection(reader);
                break;
            case 1: {
                if (window_ != nullptr) {
                    throw reader.error(std::string("The window is open already (the ") +
                                           windowOpenedBy_ +
                                           " section opened it): one screen section, before the "
                                           "processes, events, textures and scenes.",
                                       kSecondScreen);
                }
                DisplaySettings settings;
                readScreenSection(reader, settings);
                openDisplay(settings);
                windowOpenedBy_ = "screen";
                break;
            }
            case 2:
                readMusicSection(reader, music_, parts_);
                break;
            case 3:
                ensureDisplay("processes");
                readProcessesSection(reader);
                break;
            case 4:
                ensureDisplay("events");
                events_.readSection(reader, parts_);
                break;
            case 5:
                ensureDisplay("textures");
                readTexturesSection(reader);
                break;
            case 6:
                ensureDisplay("scenes");
                readScenesSection(reader);
                break;
            default:
                return;
        }
    }
}

void DemoPlayer::readProcessesSection(AsciiReader& reader) {
    readNamedEntries(reader, [&](const std::string& name) {
        ProcessManager* manager = ProcessManager::instance();
        // The manager would take the reference of the events that loaded the
        // name from its file, and they would release it once more later.
        if (manager->objects().count(name) != 0 && declared_.count(name) == 0) {
            throw reader.error("Process '" + name + "' is declared after events have used it.",
                               kDeclaredLate);
        }
        Process* process = manager->createNamed(name, reader);
        // A redeclared name: the earlier process's reference is ours to drop.
        Process*& slot = declared_[name];
        if (slot != nullptr) manager->release(slot);
        slot = process;
    });
}

void DemoPlayer::openDisplay(const DisplaySettings& settings) {
    window_ = host_.openDisplay(settings);
    ProgressBar::instance()->setDisplayReady(true);
    window_->setListener(this);
}

void DemoPlayer::ensureDisplay(const char* section) {
    if (window_ != nullptr) return;
    openDisplay(DisplaySettings{});
    windowOpenedBy_ = section;
}

void DemoPlayer::play() {
    clock_->start(music_.startTime);
    float time = clock_->getTime();
    while (time <= stopTime_ && !window_->isDone()) {
        frame(time);
        time = clock_->getTime();
    }
    clock_->stop();
}

void DemoPlayer::frame(float time) {
    time_ = time;
    while (Event* event = events_.takeDue(time)) {
        std::unique_ptr<Event> owned(event);
        carryOut(event);
        event->target->handleEvent(event);
    }
    window_->pumpMessages();
    for (const ActiveProcess& entry : active_.entries()) entry.process->run(entry.localTime(time));
    host_.endFrame(*window_);
}

void DemoPlayer::carryOut(Event* event) {
    switch (event->kind()) {
        case EVENT_START: {
            auto* start = static_cast<StartEvent*>(event);
            active_.start(ActiveProcess{start->target, start->orderKey, start->time, start->rate,
                                        start->offset});
            break;
        }
        case EVENT_STOP:
            active_.stop(event->target);
            break;
        case EVENT_FOCUS:
            focus_.add(event->target);
            break;
        case EVENT_NOFOCUS:
            focus_.remove(event->target);
            break;
        default:
            break;
    }
}

template <typename Make>
void DemoPlayer::forward(Make make) {
    // A copy: a handler may not change the set under us, but be safe.
    std::vector<Process*> targets = focus_.processes();
    for (Process* process : targets) {
        ++process->referenceCount;  // the event's own reference
        std::unique_ptr<Event> event(make());
        event->time = time_;
        event->target = process;
        process->handleEvent(event.get());
    }
}

void DemoPlayer::key(bool down, int virtualKey) {
    if (!down) return;
    forward([virtualKey] { return new KeyEvent(virtualKey); });
}

void DemoPlayer::mouseMove(unsigned buttons, int x, int y) { forwardMouse(buttons, x, y); }

void DemoPlayer::mouseButtons(unsigned buttons, int x, int y) { forwardMouse(buttons, x, y); }

void DemoPlayer::forwardMouse(unsigned buttons, int x, int y) {
    // Wide, then clamped: positions far off the window can be extreme.
    auto delta = [](int to, int from) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{to} - from, INT_MIN, INT_MAX));
    };
    int dx = haveMouse_ ? delta(x, mouseX_) : 0;
    int dy = haveMouse_ ? delta(y, mouseY_) : 0;
    haveMouse_ = true;
    mouseX_ = x;
    mouseY_ = y;
    forward([&] {
        auto* event = new MouseEvent;
        event->x = x;
        event->y = y;
        event->dx = dx;
        event->dy = dy;
        event->buttons = static_cast<int>(buttons);
        event->reserved = 0;
        return event;
    });
}

}  // namespace demo
