#include "manager/resource_cache.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "manager/progress_bar.h"
#include "manager/timer_base.h"
#include "tests/support/fake_counter.h"

namespace demo {
namespace {


struct Item {
    explicit Item(std::string n) : name(std::move(n)) { ++alive; }
    ~Item() { --alive; }
    std::string name;
    int referenceCount = 1;
    static inline int alive = 0;
};

class Items : public ResourceCache<Item> {
  protected:
    Item* create(const std::string& name) override {
        if (name == "broken") throw std::runtime_error("cannot make it");
        return new Item(name);
    }
};

TEST(ResourceCache, CreatesOnceCountsReferencesAndFreesOnlyWhatIsUnused) {
    test::FakeCounter counter;  // one tick per reading at one per second: a create takes 1 s
    counter.step = 1;
    initTimerBase();
    ProgressBar* bar = ProgressBar::instance();
    bar->begin();  // counts steps from 1
    Items cache;

    Item* first = cache.get("a");
    EXPECT_TRUE(cache.get("a") == first && first->referenceCount == 2);
    EXPECT_THROW(cache.get("broken"), std::runtime_error);  // leaves nothing behind
    EXPECT_EQ(cache.objects().count("broken"), 0u);
    EXPECT_EQ(bar->index(), 2);                  // one step for the one creation
    EXPECT_FLOAT_EQ(cache.loadSeconds(), 1.0f);  // misses only
    cache.release(first);
    cache.release(cache.objects().at("a"));  // count 0: gone, and made again on the next get
    EXPECT_EQ(Item::alive, 0);
    Item* kept = cache.get("a");
    EXPECT_EQ(bar->index(), 3);  // made again

    Item* dropped = cache.get("dropped");
    cache.collectUnused();
    EXPECT_EQ(Item::alive, 2);
    --dropped->referenceCount;  // lowered without release: waits for collection
    cache.collectUnused();
    EXPECT_EQ(Item::alive, 1);
    EXPECT_EQ(cache.objects().count("dropped"), 0u);
    cache.release(kept);
    cache.release(nullptr);
}

}  // namespace
}  // namespace demo
