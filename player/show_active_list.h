#pragma once
// The processes that run each frame, in order of their order keys, and the
// set of processes that receive key and mouse input. Both hold a reference
// to each of their processes, so a process whose only other holder was the
// event that started it lives as long as it runs.

#include <vector>

namespace demo {

class Process;

struct ActiveProcess {
    Process* process = nullptr;
    float orderKey = 0.0f;
    float start = 0.0f;   // show time of the start
    float rate = 1.0f;
    float offset = 0.0f;  // local time at the start

    float localTime(float time) const { return (time - start) * rate + offset; }
};

class ActiveList {
public:
    ActiveList() = default;
    ~ActiveList();  // releases every process
    ActiveList(const ActiveList&) = delete;
    ActiveList& operator=(const ActiveList&) = delete;

    // Inserts after every entry with an order key not above this one. A
    // process already in the list is taken out first: it starts afresh.
    void start(const ActiveProcess& entry);
    // Takes the process out; nothing happens when it is not in the list.
    void stop(Process* process);
    void clear();

    const std::vector<ActiveProcess>& entries() const { return entries_; }

private:
    std::vector<ActiveProcess> entries_;
};

class FocusSet {
public:
    FocusSet() = default;
    ~FocusSet();  // releases every process
    FocusSet(const FocusSet&) = delete;
    FocusSet& operator=(const FocusSet&) = delete;

    void add(Process* process);  // once per process
    void remove(Process* process);
    void clear();

    const std::vector<Process*>& processes() const { return processes_; }

private:
    std::vector<Process*> processes_;
};

}  // namespace demo
