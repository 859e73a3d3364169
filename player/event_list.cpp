#include "player/event_list.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

#include "manager/ascii_reader.h"
#include "manager/event.h"
#include "manager/exceptions.h"
#include "manager/process.h"
#include "manager/source_location.h"

namespace demo {

namespace {

constexpr const char* kUnit = "manager/event_list";
constexpr source::Location kUnknownPart{kUnit, 40};
constexpr source::Location kUnknownCommand{kUnit, 77};
constexpr source::Location kTimeNotFinite{kUnit, 33};
constexpr source::Location kNoSuchProcess{kUnit, 61};

// Reads "seconds" or "part : beats". A time that is not a finite number
// would fire at once and upset the order of the events after it.
float readEventTime(AsciiReader& reader, const TimelineParts& parts) {
    Token token = reader.nextToken();
    float time = token.number;
    if (token.kind != TOKEN_NUMBER) {
        reader.pushBack(token);
        std::string partName = reader.readStringOrQuoted();
        const TimelinePart* part = parts.find(partName);
        if (part == nullptr) throw reader.error("Unknown part '" + partName + "'.", kUnknownPart);
        reader.expectSymbol(':');
        time = TimelineParts::beatTime(*part, reader.readNumber());
    }
    if (!std::isfinite(time)) throw reader.error("The event time is not a finite number.", kTimeNotFinite);
    return time;
}

// START's arguments: order [relative tempo] [offset local] [rate rate] "}".
Event* readStart(AsciiReader& reader) {
    auto event = std::make_unique<StartEvent>();
    event->orderKey = reader.readNumber();
    static const char* const options[] = {"relative", "offset", "rate", "}", nullptr};
    for (;;) {
        switch (reader.readOneOf(options)) {
            case 0:
                event->relative = true;
                event->rate = reader.readNumber() / 60.0f;
                break;
            case 1:
                event->offset = reader.readNumber();
                break;
            case 2:
                event->rate = reader.readNumber();
                break;
            default:
                return event.release();
        }
    }
}

// The process the entry names, declared or loaded from the file of its name.
// When there is no such file either, the file system's message alone would
// name neither the script nor the line of the misspelt name.
Process* findTarget(AsciiReader& reader, const std::string& name) {
    try {
        return ProcessManager::instance()->get(name);
    } catch (const ResourceMissing& e) {
        if (e.name() != name || e.sourceFile() != source::kResourceMissing.unit) throw;
        throw reader.error("No process is declared under the name '" + name +
                               "', and no file of that name exists: " + e.message(),
                           kNoSuchProcess);
    }
}

// Releases the target's reference unless an event has taken it over.
struct TargetHold {
    Process* process;
    ~TargetHold() {
        if (process != nullptr) ProcessManager::instance()->release(process);
    }
};

}  // namespace

void TimelineParts::add(const std::string& name, float begin, float tempo) {
    parts_[name] = TimelinePart{begin, tempo};
}

const TimelinePart* TimelineParts::find(const std::string& name) const {
    auto found = parts_.find(name);
    return found == parts_.end() ? nullptr : &found->second;
}

float TimelineParts::beatTime(const TimelinePart& part, float beats) {
    return part.begin + beats * 60.0f / part.tempo;
}

EventList::~EventList() { clear(); }

void EventList::clear() {
    while (!events_.empty()) {
        Event* event = events_.back();
        events_.pop_back();
        delete event;
    }
}

void EventList::readSection(AsciiReader& reader, const TimelineParts& parts) {
    // Entries are gathered and merged once, in n log n: inserting each one
    // into its place would be quadratic for a long unsorted list. On an
    // error the entries read so far still join the list, which owns them.
    std::vector<Event*> read;
    try {
        reader.expectSymbol('{');
        for (;;) {
            Token token = reader.nextToken();
            if (token.isSymbol('}')) break;
            reader.pushBack(token);
            reader.expectSymbol('{');
            read.push_back(readEntry(reader, parts));
        }
    } catch (...) {
        merge(read);
        throw;
    }
    merge(read);
}

Event* EventList::readEntry(AsciiReader& reader, const TimelineParts& parts) {
    float time = readEventTime(reader, parts);
    std::string processName = reader.readStringOrQuoted();
    TargetHold target{findTarget(reader, processName)};
    std::string command = reader.readString();

    Event* event = nullptr;
    if (command == "START") {
        event = readStart(reader);
    } else if (command == "STOP" || command == "FOCUS" || command == "NOFOCUS") {
        reader.expectSymbol('}');
        int kind = command == "STOP" ? EVENT_STOP : command == "FOCUS" ? EVENT_FOCUS : EVENT_NOFOCUS;
        event = new TypedEvent(kind);
    } else {
        event = target.process->type->createEvent(command, target.process, reader);
        if (event == nullptr) {
            throw reader.error("Unknown command '" + command + "' for process '" + processName + "'.",
                               kUnknownCommand);
        }
    }
    event->time = time;
    event->target = target.process;
    target.process = nullptr;
    return event;
}

void EventList::merge(std::vector<Event*>& read) {
    auto earlier = [](const Event* a, const Event* b) { return a->time < b->time; };
    // Stable, and the list's own events first among equals: equal times keep
    // the order in which they were read.
    std::stable_sort(read.begin(), read.end(), earlier);
    std::deque<Event*> merged;
    std::merge(events_.begin(), events_.end(), read.begin(), read.end(), std::back_inserter(merged),
               earlier);
    events_.swap(merged);
    read.clear();
}

Event* EventList::takeDue(float time) {
    if (events_.empty() || events_.front()->time > time) return nullptr;
    Event* event = events_.front();
    events_.pop_front();
    return event;
}

}  // namespace demo
