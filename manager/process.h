#pragma once
// Processes are the instances of effects that the show script declares and the
// timeline drives. Each effect kind has a ProcessType registrar, made during
// static initialisation, that knows its script name and creates instances and
// event objects. The ProcessManager caches processes by name with reference
// counts and creates them from the script or from a file of their own name.

#include <deque>
#include <map>
#include <string>
#include <utility>

#include "manager/resource_cache.h"
#include "manager/singleton.h"

namespace demo {

class AsciiReader;
class Event;
class ProcessType;

class Process {
public:
    Process(std::string name, ProcessType* type) : name(std::move(name)), type(type) {}
    virtual ~Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Called once per frame with (clock time - start) x rate.
    virtual void run(float localTime) = 0;
    // Events addressed to this process; ignored unless overridden.
    virtual void handleEvent(Event* event);

    std::string name;
    int referenceCount = 1;
    ProcessType* type;
};

class ProcessType {
public:
    virtual ~ProcessType() = default;
    // Makes an instance called `name`, reading its parameters from the reader.
    virtual Process* create(const std::string& name, AsciiReader& reader) = 0;
    // The event for an events-section command, reading the command's own
    // arguments; null for a command that the type does not know.
    virtual Event* createEvent(const std::string& command, Process* target, AsciiReader& reader);
    // The type's script name.
    virtual std::string name() const = 0;
};

class ProcessManager : public ResourceCache<Process>, public Singleton {
public:
    static ProcessManager* instance();

    // Queues a registrar; it joins the type map at the next type lookup.
    void registerType(ProcessType* type);

    // Reads the type word and lets that type make the process `name`.
    Process* createFromReader(const std::string& name, AsciiReader& reader);

    // A process declared in the script: created, timed, counted on the
    // progress bar and stored under `name`, overwriting an earlier entry
    // without releasing it. The one reference it was made with belongs to
    // the caller, who releases it (and any process it displaced).
    Process* createNamed(const std::string& name, AsciiReader& reader);

    std::size_t pendingTypeCount() const { return pending_.size(); }
    const std::map<std::string, ProcessType*>& types() const { return types_; }

protected:
    // A process never declared: read from a file of its own name, which
    // starts with the type word.
    Process* create(const std::string& name) override;

private:
    ProcessManager() = default;
    void collectPendingTypes();

    std::deque<ProcessType*> pending_;
    std::map<std::string, ProcessType*> types_;
};

// Registers an effect in one line:
//   static ProcessRegistrar<Tunnel> tunnelType("tunnel");
// P is built as P(name, type, reader). If P has a static
//   Event* createEvent(const std::string&, Process*, AsciiReader&)
// the registrar uses it for the effect's commands.
template <typename P>
class ProcessRegistrar : public ProcessType {
public:
    explicit ProcessRegistrar(const char* typeName) : typeName_(typeName) {
        ProcessManager::instance()->registerType(this);
    }

    Process* create(const std::string& name, AsciiReader& reader) override {
        return new P(name, this, reader);
    }

    Event* createEvent(const std::string& command, Process* target, AsciiReader& reader) override {
        if constexpr (requires { P::createEvent(command, target, reader); }) {
            return P::createEvent(command, target, reader);
        } else {
            return ProcessType::createEvent(command, target, reader);
        }
    }

    std::string name() const override { return typeName_; }

private:
    const char* typeName_;
};

}  // namespace demo
