#include "manager/process.h"

#include <gtest/gtest.h>

#include <fstream>

#include "manager/ascii_reader.h"
#include "manager/file_system.h"
#include "manager/parameters.h"
#include "tests/support/error_of.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

int destroyed = 0;

// A test effect with one parameter; Id tells the registrars of one name apart.
// (Effects' commands are the player's tests', through its events.)
template <int Id>
class Pulse : public Process {
public:
    Pulse(const std::string& name, ProcessType* type, AsciiReader& reader) : Process(name, type) {
        ParameterDesc table[] = {{"speed", PARAM_FLOAT, &speed, nullptr},
                                 {nullptr, PARAM_END, nullptr, nullptr}};
        reader.readParameters(table);
        if (Id == 3) reader.readNumber();  // fails after the type word
    }
    ~Pulse() override { ++destroyed; }
    void run(float) override {}

    float speed = 1.0f;
};

ProcessRegistrar<Pulse<0>> pulseType("pulse");
ProcessRegistrar<Pulse<1>> firstTwin("twin");
ProcessRegistrar<Pulse<2>> secondTwin("twin");
ProcessRegistrar<Pulse<3>> brokenType("broken");

ProcessManager& manager() { return *ProcessManager::instance(); }

TEST(ProcessManager, TypesJoinTheMapAtTheFirstLookupAndTheFirstRegisteredWins) {
    EXPECT_TRUE(manager().types().empty());
    EXPECT_EQ(manager().pendingTypeCount(), 4u);

    AsciiReader reader("procs.ini", "twin pulse { speed 3 }");
    Process* twin = manager().createNamed("t", reader);
    EXPECT_TRUE(manager().pendingTypeCount() == 0 && manager().types().size() == 3);
    EXPECT_EQ(twin->type, &firstTwin);
    manager().release(twin);

    Process* p = manager().createNamed("p1", reader);
    EXPECT_TRUE(p->name == "p1" && p->type == &pulseType && manager().objects().at("p1") == p);
    EXPECT_EQ(static_cast<Pulse<0>*>(p)->speed, 3.0f);
}

TEST(ProcessManager, BadTypeWordsAndFailedCreationsStoreNothing) {
    AsciiReader reader("procs.ini", "\nwobble \"pulse\" broken word");
    auto failure = [&] {
        return test::printedErrorOf<ParseError>([&] { manager().createNamed("x", reader); });
    };
    EXPECT_EQ(failure(), "manager/process L34: Parse error (procs.ini 2 ): Unknown process type 'wobble'.");
    EXPECT_EQ(failure(), "manager/ascii_reader L149: Parse error (procs.ini 2 ): String was expected here.");
    EXPECT_EQ(failure(), "manager/ascii_reader L142: Parse error (procs.ini 2 ): Number was expected here.");
    EXPECT_EQ(manager().objects().count("x"), 0u);
}

TEST(ProcessManager, UndeclaredProcessesComeFromAFileOfTheirName) {
    std::string dir = test::scratchRoot().string();
    std::ofstream(dir + "/pulse_file", std::ios::binary) << "// a process file\npulse { speed 7 }";
    FileSystem::instance()->addDirectory(dir);
    destroyed = 0;
    Process* p = manager().get("pulse_file");
    EXPECT_EQ(static_cast<Pulse<0>*>(p)->speed, 7.0f);
    EXPECT_EQ(manager().get("pulse_file"), p);
    manager().release(p);
    manager().release(p);
    EXPECT_EQ(destroyed, 1);
    // The reader gave back its reference to the file; the cache keeps the entry.
    EXPECT_EQ(FileSystem::instance()->objects().at("pulse_file")->referenceCount, 0);
}

}  // namespace
}  // namespace demo
