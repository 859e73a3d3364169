#include "manager/progress_bar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "manager/exceptions.h"
#include "manager/timer_base.h"
#include "platform/performance_counter.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

std::int64_t ticks = 0;
std::int64_t now() { return ticks; }
std::int64_t perSecond() { return 1; }

std::vector<float> drawn;
void record(float fraction) { drawn.push_back(fraction); }

class ProgressBarTest : public testing::Test {
protected:
    void SetUp() override {
        ticks = 100;
        platform::setCounterSource(now, perSecond);
        initTimerBase();
        bar->reset();
        drawn.clear();
        const char* root = std::getenv("DEMO_TEST_TMP");
        dir = fs::path(root ? root : "/tmp") /
              (std::string("progress_") + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        bar->reset();
        platform::setCounterSource(nullptr, nullptr);
    }

    std::string loadError(const fs::path& path) {
        try {
            bar->loadTimes(path.c_str());
        } catch (const ExceptionBase& e) {
            std::ostringstream out;
            e.print(out);
            return out.str();
        }
        return "loaded";
    }

    // Generates with the given tick at begin, each step and end; the bytes written.
    std::string generate(std::vector<std::int64_t> times) {
        fs::path out = dir / "progress.dat";
        bar->startGenerating(std::fopen(out.c_str(), "wb"));
        ticks = times.front();
        bar->begin();
        for (std::size_t i = 1; i + 1 < times.size(); ++i) {
            ticks = times[i];
            bar->step();
        }
        ticks = times.back();
        bar->end();
        EXPECT_FALSE(bar->generating());
        std::ifstream in(out, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    ProgressBar* bar = ProgressBar::instance();
    fs::path dir;
};

TEST_F(ProgressBarTest, LoadTimesReadsFractionsOrSaysHowToMakeThem) {
    EXPECT_EQ(loadError(dir / "none.dat"), "manager/progress_bar L108: Cannot open " +
                                               (dir / "none.dat").string() +
                                               ". Use -progress flag to generate file.");
    // Linux opens a directory; the failed read must not pass for an empty file.
    EXPECT_NE(loadError(dir), "loaded");

    std::ofstream(dir / "p.dat", std::ios::binary) << std::string("\x00\x80\xff", 3);
    ASSERT_EQ(loadError(dir / "p.dat"), "loaded");
    ASSERT_EQ(bar->fractions().size(), 3u);
    EXPECT_FLOAT_EQ(bar->fractions()[1], 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(bar->fractions()[2], 1.0f);
}

TEST_F(ProgressBarTest, StepsDrawKnownFractionsOnlyWhenTheDisplayIsReady) {
    std::ofstream(dir / "p.dat", std::ios::binary) << std::string("\x00\xff", 2);
    bar->loadTimes((dir / "p.dat").c_str());
    bar->setDrawFunction(record);
    bar->step();  // inactive: nothing
    EXPECT_EQ(bar->index(), 0);

    bar->begin();  // not ready: counts only
    bar->setDisplayReady(true);
    bar->step();
    bar->step();  // past the table: counts only
    bar->end();
    EXPECT_EQ(bar->index(), 4);
    EXPECT_EQ(drawn, std::vector<float>{1.0f});
    EXPECT_FALSE(bar->active());
}

TEST_F(ProgressBarTest, GenerateModeWritesScaledTimes) {
    EXPECT_EQ(generate({100, 110, 120, 140}), std::string("\x00\x3f\x7f\xff", 4));
    // Everything loaded at once: no scale, every step counts as the whole.
    EXPECT_EQ(generate({100, 100, 100}), std::string("\xff\xff\xff", 3));
}

}  // namespace
}  // namespace demo
