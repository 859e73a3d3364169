#include "player/show_active_list.h"

#include <algorithm>

#include "manager/process.h"

namespace demo {

namespace {
void release(Process* process) { ProcessManager::instance()->release(process); }
}  // namespace

ActiveList::~ActiveList() { clear(); }

void ActiveList::start(const ActiveProcess& entry) {
    // Take the new reference before dropping an old one, so a restart never
    // brings the count to zero on the way.
    ++entry.process->referenceCount;
    stop(entry.process);
    auto at = std::upper_bound(entries_.begin(), entries_.end(), entry.orderKey,
                               [](float key, const ActiveProcess& e) { return key < e.orderKey; });
    entries_.insert(at, entry);
}

void ActiveList::stop(Process* process) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [process](const ActiveProcess& e) { return e.process == process; });
    if (found == entries_.end()) return;
    entries_.erase(found);
    release(process);
}

void ActiveList::clear() {
    std::vector<ActiveProcess> entries;
    entries.swap(entries_);
    for (const ActiveProcess& entry : entries) release(entry.process);
}

FocusSet::~FocusSet() { clear(); }

void FocusSet::add(Process* process) {
    if (std::find(processes_.begin(), processes_.end(), process) != processes_.end()) return;
    ++process->referenceCount;
    processes_.push_back(process);
}

void FocusSet::remove(Process* process) {
    auto found = std::find(processes_.begin(), processes_.end(), process);
    if (found == processes_.end()) return;
    processes_.erase(found);
    release(process);
}

void FocusSet::clear() {
    std::vector<Process*> processes;
    processes.swap(processes_);
    for (Process* process : processes) release(process);
}

}  // namespace demo
