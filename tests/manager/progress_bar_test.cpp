#include "manager/progress_bar.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "manager/exceptions.h"
#include "manager/timer_base.h"
#include "tests/support/error_of.h"
#include "tests/support/fake_counter.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

namespace fs = std::filesystem;


std::vector<float> drawn;
void record(float fraction) { drawn.push_back(fraction); }

TEST(ProgressBar, LoadsCountsDrawsAndGenerates) {
    fs::path dir = test::freshScratchDir("progress");
    test::FakeCounter counter;
    std::int64_t& ticks = counter.ticks;
    initTimerBase();
    ProgressBar* bar = ProgressBar::instance();

    EXPECT_EQ(test::printedErrorOf([&] { bar->loadTimes((dir / "none.dat").c_str()); }),
              "manager/progress_bar L108: Cannot open " + dir.string() +
                  "/none.dat. Use -progress flag to generate file.");
    EXPECT_THROW(bar->loadTimes(dir.c_str()), ExceptionBase);  // Linux opens a directory
    std::ofstream(dir / "p.dat", std::ios::binary) << std::string("\x00\x80\xff", 3);
    bar->loadTimes((dir / "p.dat").c_str());
    const float half = 128 * (1.0f / 255);
    EXPECT_EQ(bar->fractions(), (std::vector<float>{0.0f, half, 1.0f}));

    // Steps draw the recorded fractions only while active with a display.
    bar->setDrawFunction(record);
    bar->setDisplayReady(true);
    bar->step();  // inactive: nothing
    bar->setDisplayReady(false);
    bar->begin();  // no display yet: counts only
    bar->setDisplayReady(true);
    for (int i = 0; i < 3; ++i) bar->step();  // the last is past the table: counts only
    bar->end();
    EXPECT_EQ(bar->index(), 5);
    EXPECT_EQ(drawn, (std::vector<float>{half, 1.0f}));

    // Generate mode writes to a file opened before loading, and only then.
    bar->startGenerating(nullptr);
    EXPECT_FALSE(bar->generating());
    auto generate = [&](std::vector<std::int64_t> times) {
        bar->startGenerating(std::fopen((dir / "progress.dat").c_str(), "wb"));
        ticks = times.front();
        bar->begin();
        for (std::size_t i = 1; i + 1 < times.size(); ++i) {
            ticks = times[i];
            bar->step();
        }
        ticks = times.back();
        bar->end();
        EXPECT_FALSE(bar->generating());
        std::ifstream in(dir / "progress.dat", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(generate({100, 110, 120, 140}), std::string("\x00\x3f\x7f\xff", 4));
    // Everything loaded at once: no scale, every step counts as the whole.
    EXPECT_EQ(generate({100, 100, 100}), std::string("\xff\xff\xff", 3));
}

}  // namespace
}  // namespace demo
