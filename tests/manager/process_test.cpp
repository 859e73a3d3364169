#include "manager/process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "manager/ascii_reader.h"
#include "manager/event.h"
#include "manager/parameters.h"

namespace demo {
namespace {

int destroyed = 0;

// A test effect with one parameter and one command of its own.
class Pulse : public Process {
public:
    Pulse(const std::string& name, ProcessType* type, AsciiReader& reader) : Process(name, type) {
        ParameterDesc table[] = {{"speed", PARAM_FLOAT, &speed, nullptr}, {nullptr, PARAM_END, nullptr, nullptr}};
        reader.readParameters(table);
    }
    ~Pulse() override { ++destroyed; }
    void run(float) override {}

    static Event* createEvent(const std::string& command, Process*, AsciiReader& reader) {
        if (command != "BEAT") return nullptr;
        reader.expectSymbol('}');
        return new TypedEvent(EVENT_EFFECT + 1);
    }

    float speed = 1.0f;
};

template <int Id>
class Twin : public Process {
public:
    Twin(const std::string& name, ProcessType* type, AsciiReader&) : Process(name, type) {}
    ~Twin() override { ++destroyed; }
    void run(float) override {}
    static constexpr int id = Id;
};

// A type whose creation fails after reading its type word.
class Broken : public Process {
public:
    Broken(const std::string& name, ProcessType* type, AsciiReader& reader) : Process(name, type) {
        reader.readNumber();
    }
    void run(float) override {}
};

ProcessRegistrar<Pulse> pulseType("pulse");
ProcessRegistrar<Twin<1>> firstTwin("twin");
ProcessRegistrar<Twin<2>> secondTwin("twin");
ProcessRegistrar<Broken> brokenType("broken");

ProcessManager& manager() { return *ProcessManager::instance(); }

std::string parseFailure(const std::string& name, std::string_view text) {
    AsciiReader reader("procs.ini", text);
    try {
        manager().createNamed(name, reader);
    } catch (const ParseError& e) {
        return e.sourceFile() + " L" + std::to_string(e.sourceLine()) + ": " + e.message();
    }
    return "no error";
}

TEST(ProcessManager, TypesJoinTheMapOnlyAtTheFirstLookupAndTheFirstRegisteredWins) {
    EXPECT_TRUE(manager().types().empty());
    EXPECT_EQ(manager().pendingTypeCount(), 4u);

    AsciiReader reader("procs.ini", "twin");
    Process* twin = manager().createNamed("t", reader);
    EXPECT_EQ(manager().pendingTypeCount(), 0u);
    EXPECT_EQ(manager().types().size(), 3u);
    EXPECT_EQ(twin->type, &firstTwin);
    EXPECT_NE(dynamic_cast<Twin<1>*>(twin), nullptr);
    manager().release(twin);
}

TEST(ProcessManager, CreateNamedReadsParametersAndStoresTheProcess) {
    AsciiReader reader("procs.ini", "pulse { speed 3 } next");
    Process* p = manager().createNamed("p1", reader);
    EXPECT_EQ(p->name, "p1");
    EXPECT_EQ(p->referenceCount, 1);
    EXPECT_EQ(p->type, &pulseType);
    EXPECT_EQ(static_cast<Pulse*>(p)->speed, 3.0f);
    EXPECT_EQ(reader.readString(), "next");
    EXPECT_EQ(manager().get("p1"), p);
    EXPECT_EQ(p->referenceCount, 2);
    manager().release(p);
    manager().release(p);
    EXPECT_EQ(manager().objects().count("p1"), 0u);
}

TEST(ProcessManager, RedeclaringANameReleasesTheDisplacedProcess) {
    destroyed = 0;
    AsciiReader reader("procs.ini", "pulse pulse pulse");
    Process* first = manager().createNamed("same", reader);
    Process* held = manager().get("same");  // e.g. an event still targets it
    ASSERT_EQ(held, first);
    Process* second = manager().createNamed("same", reader);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(first->referenceCount, 1);
    manager().release(first);  // the event goes: the old process goes with it
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(manager().objects().at("same"), second);

    Process* third = manager().createNamed("same", reader);  // nobody else holds the second
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(manager().objects().at("same"), third);
    manager().release(third);
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(manager().objects().count("same"), 0u);
}

TEST(ProcessManager, BadTypeWordsAndFailedCreationsStoreNothing) {
    EXPECT_EQ(parseFailure("x", "\nwobble { }"),
              "manager/process L34: Parse error (procs.ini 2 ): Unknown process type 'wobble'.");
    EXPECT_EQ(parseFailure("x", "\"pulse\""),
              "manager/ascii_reader L149: Parse error (procs.ini 1 ): String was expected here.");
    EXPECT_EQ(parseFailure("x", "broken word"),
              "manager/ascii_reader L142: Parse error (procs.ini 1 ): Number was expected here.");
    EXPECT_EQ(manager().objects().count("x"), 0u);
}

TEST(ProcessManager, UndeclaredProcessesComeFromAFileOfTheirName) {
    const char* tmp = std::getenv("DEMO_TEST_TMP");
    std::string dir = tmp != nullptr ? tmp : ".";
    {
        std::ofstream out(dir + "/pulse_from_file", std::ios::binary);
        out << "// a process file\npulse { speed 7 }\n";
    }
    FileSystem::instance()->addDirectory(dir);
    destroyed = 0;
    Process* p = manager().get("pulse_from_file");
    EXPECT_EQ(static_cast<Pulse*>(p)->speed, 7.0f);
    EXPECT_EQ(manager().get("pulse_from_file"), p);
    manager().release(p);
    manager().release(p);
    EXPECT_EQ(destroyed, 1);
    EXPECT_THROW(manager().get("no_such_process"), ResourceMissing);
    EXPECT_EQ(manager().objects().count("no_such_process"), 0u);
}

TEST(ProcessManager, RegistrarsForwardTheEffectsCommands) {
    AsciiReader reader("events.ini", "} rest");
    Event* beat = pulseType.createEvent("BEAT", nullptr, reader);
    ASSERT_NE(beat, nullptr);
    EXPECT_EQ(beat->kind(), EVENT_EFFECT + 1);
    delete beat;
    EXPECT_EQ(pulseType.createEvent("UNKNOWN", nullptr, reader), nullptr);
    EXPECT_EQ(firstTwin.createEvent("BEAT", nullptr, reader), nullptr);
    EXPECT_EQ(reader.readString(), "rest");
}

}  // namespace
}  // namespace demo
