#include "manager/event.h"

#include <gtest/gtest.h>

#include <memory>

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

Process* declare(const std::string& name) {
    AsciiReader reader("events.ini", "quiet");
    return ProcessManager::instance()->createNamed(name, reader);
}

TEST(Events, KindsAndDefaults) {
    StartEvent start;
    EXPECT_EQ(start.kind(), EVENT_START);
    EXPECT_EQ(start.rate, 1.0f);
    EXPECT_EQ(TypedEvent(EVENT_STOP).kind(), 1);
    EXPECT_EQ(TypedEvent(EVENT_FOCUS).kind(), 2);
    EXPECT_EQ(TypedEvent(EVENT_NOFOCUS).kind(), 3);
    EXPECT_EQ(TypedEvent(42).kind(), 42);
    EXPECT_EQ(KeyEvent(27).kind(), EVENT_KEY);
    EXPECT_EQ(MouseEvent().kind(), EVENT_MOUSE);
    EXPECT_EQ(start.target, nullptr);  // destroying with no target is fine
}

TEST(Events, EachEventReleasesTheReferenceItHolds) {
    destroyed = 0;
    ProcessManager& manager = *ProcessManager::instance();
    Process* p = declare("focused");
    // The event list and the input forwarding each take one reference per event.
    std::unique_ptr<Event> start(new StartEvent);
    start->target = manager.get("focused");
    std::unique_ptr<Event> key(new KeyEvent(65));
    ++p->referenceCount;
    key->target = p;
    EXPECT_EQ(p->referenceCount, 3);

    p->handleEvent(key.get());  // the default handler ignores every kind
    p->handleEvent(start.get());
    key.reset();
    start.reset();
    EXPECT_EQ(p->referenceCount, 1);
    EXPECT_EQ(destroyed, 0);

    // The last holder: deleting the event deletes the process and its entry.
    TypedEvent* stop = new TypedEvent(EVENT_STOP);
    stop->target = p;
    delete stop;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(manager.objects().count("focused"), 0u);
}

}  // namespace
}  // namespace demo
