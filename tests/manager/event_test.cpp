#include "manager/event.h"

#include <gtest/gtest.h>

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

TEST(Events, EachEventReleasesTheReferenceItHolds) {
    { StartEvent untargeted; }  // destroyed with no target
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
    EXPECT_TRUE(p->referenceCount == 1 && destroyed == 0);

    // The last holder: deleting the event deletes the process and its entry.
    auto* stop = new TypedEvent(EVENT_STOP);
    stop->target = p;
    delete stop;
    EXPECT_TRUE(destroyed == 1 && manager.objects().count("focused") == 0);
}

}  // namespace
}  // namespace demo
