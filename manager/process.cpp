#include "manager/process.h"

#include "manager/ascii_reader.h"
#include "manager/event.h"
#include "manager/pending_types.h"
#include "manager/source_location.h"

namespace demo {

void Process::handleEvent(Event*) {}

Event* ProcessType::createEvent(const std::string&, Process*, AsciiReader&) { return nullptr; }

ProcessManager* ProcessManager::instance() {
    static ProcessManager* manager = new ProcessManager();
    return manager;
}

void ProcessManager::registerType(ProcessType* type) { pending_.push_back(type); }

void ProcessManager::collectPendingTypes() {
    drainPendingTypes(pending_, types_, [](ProcessType& type) { return type.name(); });
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
