#include "manager/resource_cache.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "manager/progress_bar.h"
#include "manager/timer_base.h"
#include "platform/performance_counter.h"

namespace demo {
namespace {

// One tick per reading at one tick per second: every create() takes 1 s.
std::int64_t ticks = 0;
std::int64_t tick() { return ticks++; }
std::int64_t perSecond() { return 1; }

struct Item {
    explicit Item(std::string n) : name(std::move(n)) { ++alive; }
    ~Item() { --alive; }
    std::string name;
    int referenceCount = 1;
    static inline int alive = 0;
};

class Items : public ResourceCache<Item> {
public:
    int creations = 0;
    using ResourceCache::store;

protected:
    Item* create(const std::string& name) override {
        if (name == "broken") throw std::runtime_error("cannot make it");
        ++creations;
        return new Item(name);
    }
};

class ResourceCacheTest : public testing::Test {
protected:
    void SetUp() override {
        platform::setCounterSource(tick, perSecond);
        initTimerBase();
        ProgressBar::instance()->reset();
        ProgressBar::instance()->begin();  // counts steps from 1
    }
    void TearDown() override {
        cache.collectUnused();
        for (auto& [name, item] : cache.objects()) delete item;
        platform::setCounterSource(nullptr, nullptr);
        EXPECT_EQ(Item::alive, 0);
    }
    int steps() const { return ProgressBar::instance()->index() - 1; }
    Items cache;
};

TEST_F(ResourceCacheTest, CreatesOnceTimesMissesAndStepsTheBar) {
    Item* first = cache.get("a");
    EXPECT_EQ(cache.get("a"), first);
    EXPECT_EQ(first->referenceCount, 2);
    EXPECT_EQ(cache.creations, 1);
    EXPECT_EQ(steps(), 1);
    EXPECT_FLOAT_EQ(cache.loadSeconds(), 1.0f);

    EXPECT_THROW(cache.get("broken"), std::runtime_error);
    EXPECT_EQ(cache.objects().count("broken"), 0u);
    EXPECT_EQ(steps(), 1);
    EXPECT_FLOAT_EQ(cache.loadSeconds(), 1.0f);

    cache.release(first);
    EXPECT_EQ(first->referenceCount, 1);
    cache.release(cache.objects().at("a"));  // count 0: gone
    EXPECT_EQ(Item::alive, 0);
    EXPECT_TRUE(cache.objects().empty());
    cache.get("a");
    EXPECT_EQ(cache.creations, 2);
    EXPECT_EQ(steps(), 2);
}

TEST_F(ResourceCacheTest, CollectUnusedTakesOnlyObjectsBelowOne) {
    Item* kept = cache.get("kept");
    Item* dropped = cache.get("dropped");
    cache.collectUnused();
    EXPECT_EQ(cache.objects().size(), 2u);
    --dropped->referenceCount;  // lowered without release: waits for collection
    EXPECT_EQ(Item::alive, 2);
    cache.collectUnused();
    EXPECT_EQ(Item::alive, 1);
    EXPECT_EQ(cache.objects().at("kept"), kept);
    EXPECT_EQ(cache.objects().count("dropped"), 0u);
}

TEST_F(ResourceCacheTest, ReleaseLeavesANewerObjectUnderTheSameName) {
    Item* old = cache.get("p");
    auto* newer = new Item("p");
    EXPECT_EQ(cache.store("p", newer), old);  // a redeclaration
    cache.release(old);
    EXPECT_EQ(cache.objects().at("p"), newer);
    EXPECT_EQ(Item::alive, 1);
    cache.release(nullptr);
    EXPECT_EQ(cache.objects().size(), 1u);
}

}  // namespace
}  // namespace demo
