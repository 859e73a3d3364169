#pragma once
// The show's timeline: the parts of the music (a name, a begin time and a
// tempo, for events timed in beats) and the events read from the script's
// events section, kept in time order. Events of equal time keep the order in
// which they were read.

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace demo {

class AsciiReader;
class Event;

struct TimelinePart {
    float begin = 0.0f;  // seconds
    float tempo = 0.0f;  // beats per minute, > 0
};

class TimelineParts {
public:
    // A later part of the same name replaces the earlier one.
    void add(const std::string& name, float begin, float tempo);
    // Null when no part has that name.
    const TimelinePart* find(const std::string& name) const;
    // The show time of `beats` beats into the part.
    static float beatTime(const TimelinePart& part, float beats);

private:
    std::map<std::string, TimelinePart> parts_;
};

class EventList {
public:
    EventList() = default;
    ~EventList();  // deletes the events not carried out
    EventList(const EventList&) = delete;
    EventList& operator=(const EventList&) = delete;

    // Reads an events section's block, "{" entries "}", and inserts its
    // events. Each entry is "{ time process COMMAND arguments }".
    void readSection(AsciiReader& reader, const TimelineParts& parts);

    // The first event, removed from the list, when it is due at `time`;
    // null otherwise.
    Event* takeDue(float time);

    // Deletes every event still waiting.
    void clear();

private:
    // Reads one entry after its opening brace, up to and including its
    // closing brace, and returns the event (time and target set).
    static Event* readEntry(AsciiReader& reader, const TimelineParts& parts);
    // Takes ownership of the events read, each after every event of the
    // same or an earlier time; empties `read`.
    void merge(std::vector<Event*>& read);

    std::deque<Event*> events_;
};

}  // namespace demo
