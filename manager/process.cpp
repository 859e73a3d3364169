#include "manager/process.h"

#include "manager/ascii_reader.h"
#include "manager/event.h"
#include "manager/source_location.h"

namespace demo {

void Process::handleEvent(Event*) {}

Event* ProcessType::createEvent(const std::string&, Process*, AsciiReader&) { return nullptr; }

ProcessManager* ProcessManager::instance() {
    static ProcessManager* manager = new ProcessManager();
    return manager;
}

void ProcessManager::registerType(ProcessType* type) { pending_.push_back(type); }

// Drained from the end, so of two registrars with one name the one that
// registered first is stored last and wins.
void ProcessManager::collectPendingTypes() {
    while (!pending_.empty()) {
        ProcessType* type = pending_.back();
        pending_.pop_back();
        types_[type->name()] = type;
    }
}

Process* ProcessManager::createFromReader(const std::string& name, AsciiReader& reader) {
    std::string typeName = reader.readString();
    collectPendingTypes();
    auto found = types_.find(typeName);
    if (found == types_.end()) {
        throw reader.error("Unknown process type '" + typeName + "'.", source::kUnknownProcessType);
    }
    return found->second->create(name, reader);
}

Process* ProcessManager::createNamed(const std::string& name, AsciiReader& reader) {
    Process* process = timedCreate([&] { return createFromReader(name, reader); });
    store(name, process);
    return process;
}

Process* ProcessManager::create(const std::string& name) {
    AsciiReader reader(name);
    return createFromReader(name, reader);
}

}  // namespace demo
