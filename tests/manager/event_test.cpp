#include "manager/event.h"

#include <gtest/gtest.h>

#include <tuple>

#include "manager/ascii_reader.h"
#include "manager/process.h"

namespace demo {
namespace {

int destroyed = 0;

class Quiet : public Process {
public:
    Quiet(const std::string& name, ProcessType* type, AsciiReader&) : Process(name, type) {}
    ~Quiet() override { ++destroyed; }
    void run(float) override {}
};

ProcessRegistrar<Quiet> quietType("quiet");

TEST(Events, KindsAndDefaults) {
    StartEvent start;  // destroyed with no target
    EXPECT_EQ(std::make_tuple(start.kind(), start.rate, KeyEvent(27).kind(), MouseEvent().kind()),
              std::make_tuple(0, 1.0f, 4, 5));
    for (int kind : {1, 2, 3, 42}) EXPECT_EQ(TypedEvent(kind).kind(), kind);
}

TEST(Events, EachEventReleasesTheReferenceItHolds) {
    ProcessManager& manager = *ProcessManager::instance();
    AsciiReader reader("events.ini", "quiet");
    Process* p = manager.createNamed("focused", reader);
    // The event list and the input forwarding each take one reference per event.
    auto* start = new StartEvent;
    start->target = manager.get("focused");
    auto* key = new KeyEvent(65);
    key->target = p;
    ++p->referenceCount;
    p->handleEvent(key);  // the default handler ignores every kind
    p->handleEvent(start);
    delete key;
    delete start;
    EXPECT_EQ(p->referenceCount, 1);
    EXPECT_EQ(destroyed, 0);

    // The last holder: deleting the event deletes the process and its entry.
    auto* stop = new TypedEvent(EVENT_STOP);
    stop->target = p;
    delete stop;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(manager.objects().count("focused"), 0u);
}

}  // namespace
}  // namespace demo
