// The player's timeline and main loop, on a null window and a scripted clock.

#include "manager/demo_player.h"

#include <gmock/gmock.h>

#include "manager/exceptions.h"
#include "tests/player/show_fixture.h"

namespace demo::testing {
namespace {

using ::testing::ElementsAre;

class PlayerTest : public ShowTest {
protected:
    // Loads `script` (written as "show.ini") and plays it through the clock
    // readings `times`.
    void play(const std::string& script, std::vector<float> times, ShowOptions options = {}) {
        writeFile("show.ini", script);
        host.times = std::move(times);
        DemoPlayer player(host, options);
        player.load("show.ini");
        player.play();
    }

    TestHost host;
};

TEST_F(PlayerTest, StartStopAndOrderKeysDecideWhoRunsAndInWhichOrder) {
    play(R"(
        processes { a recorder b recorder c recorder }
        events {
            { 0 a START 20 }
            { 0 b START 10 }
            { 0 c START 20 }   // equal keys run in the order they started
            { 2 b STOP }
        }
        end)",
         {0, 1, 2});
    EXPECT_THAT(linesStarting("run"),
                ElementsAre("run b 0", "run a 0", "run c 0",  //
                            "run b 1", "run a 1", "run c 1",  //
                            "run a 2", "run c 2"));
    EXPECT_EQ(host.frames, 3);
    EXPECT_TRUE(host.clock.stopped);
}

TEST_F(PlayerTest, LocalTimeIsTimeSinceStartTimesRate) {
    play(R"(
        processes { plain recorder beats recorder fast recorder late recorder }
        events {
            { 1 plain START 0 }
            { 1 beats START 1 relative 120 }     // rate 2: local time in beats
            { 1 fast START 2 rate 0.5 }
            { 1 late START 3 offset 10 }
        }
        end)",
         {1, 3});
    EXPECT_THAT(linesStarting("run"),
                ElementsAre("run plain 0", "run beats 0", "run fast 0", "run late 10",
                            "run plain 2", "run beats 4", "run fast 1", "run late 12"));
}

TEST_F(PlayerTest, RestartingARunningProcessStartsItAfresh) {
    play(R"(
        processes { a recorder b recorder }
        events {
            { 0 a START 1 }
            { 0 b START 2 }
            { 1 a START 3 }
        }
        end)",
         {0, 2});
    EXPECT_THAT(linesStarting("run"), ElementsAre("run a 0", "run b 0", "run b 2", "run a 1"));
}

TEST_F(PlayerTest, EventsInBeatsCountFromTheirPart) {
    play(R"(
        music { part slow 10 60 part quick 20 240 }
        processes { a recorder }
        events {
            { quick:2 a MARK 2 }   // 20 + 2 x 60 / 240 = 20.5
            { slow:3  a MARK 1 }   // 10 + 3 = 13
        }
        end)",
         {12, 13, 20.4f, 20.5f});
    EXPECT_THAT(journal(), ElementsAre("mark a 1 @13", "mark a 2 @20.5", "deleted a"));
}

TEST_F(PlayerTest, EventsDueInOneFrameRunInListOrderBeforeTheProcesses) {
    play(R"(
        processes { a recorder }
        events {
            { 1   a MARK 3 }
            { 0.5 a MARK 1 }
            { 0.5 a MARK 2 }
            { 0.2 a START 0 }
            { 0.9 a STOP }
            { 0.9 a START 0 }
        }
        end)",
         {1});
    EXPECT_THAT(journal(), ElementsAre("event a 0 @0.2", "mark a 1 @0.5", "mark a 2 @0.5",
                                       "event a 1 @0.9", "event a 0 @0.9", "mark a 3 @1",
                                       "run a 0.1", "deleted a"));
}

TEST_F(PlayerTest, TheShowEndsAtTheStopTimeOrWhenTheWindowIsDone) {
    play("music { starttime 4 stoptime 6 } processes { a recorder } events { { 0 a START 0 } } end",
         {4, 5, 6, 6.5f, 7});
    EXPECT_EQ(host.clock.startedAt, 4.0f);
    EXPECT_THAT(linesStarting("run"), ElementsAre("run a 4", "run a 5", "run a 6"));

    journal().clear();
    TestHost early;
    early.clockEnd = 5.0f;  // a clock whose material ends first caps the stop time
    writeFile("capped.ini", "processes { b recorder } events { { 0 b START 0 } } end");
    early.times = {0, 5, 5.5f};
    {
        DemoPlayer player(early, {});
        player.load("capped.ini");
        EXPECT_EQ(player.stopTime(), 5.0f);
        early.window->onPump = [](NullWindow& window) {
            if (window.pumps == 1) window.setDone(true);
        };
        player.play();
    }
    EXPECT_THAT(linesStarting("run"), ElementsAre("run b 0"));
}

TEST_F(PlayerTest, AnUndeclaredProcessIsLoadedFromItsOwnFileAndLivesWhileItRuns) {
    writeFile("ghost", "recorder");
    play("events { { 0 ghost START 0 } } end", {0, 1});
    // The START event held the only reference; it was deleted in the first
    // frame, yet the process ran on until the end of the show.
    EXPECT_THAT(journal(), ElementsAre("event ghost 0 @0", "run ghost 0", "run ghost 1",
                                       "deleted ghost"));
}

TEST_F(PlayerTest, KeysAndMouseReachOnlyTheFocusedProcesses) {
    writeFile("show.ini", R"(
        processes { a recorder b recorder c recorder }
        events {
            { 0 a FOCUS } { 0 b FOCUS } { 0 b FOCUS }
            { 2 a NOFOCUS }
        }
        end)");
    host.times = {0, 1, 2};
    DemoPlayer player(host, {});
    player.load("show.ini");
    ASSERT_EQ(host.window->listener(), &player);
    host.window->onPump = [](NullWindow& window) {
        InputListener* input = window.listener();
        if (window.pumps == 1) {
            input->key(true, 65);
            input->key(false, 65);  // releases are not forwarded
            input->mouseMove(0, 10, 20);
        } else if (window.pumps == 2) {
            input->mouseButtons(kMouseLeft, 13, 16);
        } else {
            input->key(true, 66);
        }
    };
    player.play();
    EXPECT_THAT(linesStarting("key"), ElementsAre("key a 65 @0", "key b 65 @0", "key b 66 @2"));
    EXPECT_THAT(linesStarting("mouse"),
                ElementsAre("mouse a 10 20 0 0 0 @0", "mouse b 10 20 0 0 0 @0",
                            "mouse a 13 16 3 -4 1 @1", "mouse b 13 16 3 -4 1 @1"));
}

TEST_F(PlayerTest, ReferenceCountsReturnToZeroWhateverIsLeftRunning) {
    writeFile("ghost", "recorder");
    writeFile("show.ini", R"(
        processes { a recorder b recorder a recorder }   // a declared twice
        events {
            { 0 a START 0 } { 0 b FOCUS } { 0 ghost START 1 }
            { 99 b MARK 1 }                               // never due
        }
        end)");
    host.times = {0};
    {
        DemoPlayer player(host, {});
        player.load("show.ini");
        auto& objects = ProcessManager::instance()->objects();
        // The first "a" was replaced; the events hold the rest.
        EXPECT_EQ(objects.at("a")->referenceCount, 2);
        EXPECT_EQ(objects.at("b")->referenceCount, 3);
        EXPECT_EQ(objects.at("ghost")->referenceCount, 1);
        player.play();
        EXPECT_EQ(objects.at("a")->referenceCount, 2);      // declared + running
        EXPECT_EQ(objects.at("b")->referenceCount, 3);      // declared + focus + MARK
        EXPECT_EQ(objects.at("ghost")->referenceCount, 1);  // running
    }
    EXPECT_EQ(linesStarting("deleted").size(), 4u);  // both a's, b and ghost
}

TEST_F(PlayerTest, TheScreenSectionOpensTheWindowAndTheMusicChoosesTheClock) {
    play(R"(
        screen { width 320 height 200 bits 16 fullscreen nocursor }
        music { file "song.ogg" stoptime 1 }
        end)",
         {0}, ShowOptions{"show.ini", false, false});
    EXPECT_EQ(host.displaysOpened, 1);
    EXPECT_EQ(host.settings.width, 320);
    EXPECT_EQ(host.settings.height, 200);
    EXPECT_EQ(host.settings.colourBits, 16);
    EXPECT_TRUE(host.settings.fullscreen);
    EXPECT_FALSE(host.settings.showCursor);
    EXPECT_TRUE(host.settings.doubleBuffer);
    EXPECT_EQ(host.musicFile, "song.ogg");
    EXPECT_FALSE(host.soundOn);
    EXPECT_TRUE(ProgressBar::instance()->displayReady());
}

TEST_F(PlayerTest, AScriptWithoutScreenGetsADefaultWindow) {
    play("data { \"extra\" } end", {});
    EXPECT_EQ(host.displaysOpened, 1);
    EXPECT_EQ(host.settings.width, 640);
    EXPECT_EQ(host.frames, 0);  // the clock read past the stop time at once
}

TEST_F(PlayerTest, ProgressIsRecordedWithTheSwitch) {
    std::filesystem::remove("progress.dat");
    play("processes { a recorder } end", {}, ShowOptions{"show.ini", true, true});
    EXPECT_TRUE(std::filesystem::exists("progress.dat"));
    EXPECT_GE(std::filesystem::file_size("progress.dat"), 2u);  // begin, a, end
}

TEST_F(PlayerTest, ScriptErrorsNameTheScriptAndLine) {
    auto failure = [&](const std::string& script) -> std::string {
        FileSystem::instance()->collectUnused();  // the previous bad.ini
        writeFile("bad.ini", script);
        TestHost other;
        DemoPlayer player(other, {});
        try {
            player.load("bad.ini");
        } catch (const ExceptionBase& error) {
            return error.message();
        }
        return "no error";
    };
    EXPECT_EQ(failure("processes { a recorder }\nevents {\n { 1 a JUMP } }\nend"),
              "Parse error (bad.ini 3 ): Unknown command 'JUMP' for process 'a'.");
    EXPECT_EQ(failure("processes { a recorder }\nevents { { verse:1 a STOP } } end"),
              "Parse error (bad.ini 2 ): Unknown part 'verse'.");
    EXPECT_EQ(failure("music { part p 0 0 } end"), "Parse error (bad.ini 1 ): Tempo must be above 0.");
    EXPECT_EQ(failure("processes { a recorder }\nevents { { 1 a START } } end"),
              "Parse error (bad.ini 2 ): Number was expected here.");
    EXPECT_EQ(failure("screen screen end"),
              "Parse error (bad.ini 1 ): The window is open already: one screen section, before "
              "the processes.");
    writeFile("ghost", "recorder");
    EXPECT_EQ(failure("events { { 1 ghost STOP } }\nprocesses { ghost recorder } end"),
              "Parse error (bad.ini 2 ): Process 'ghost' is declared after events have used it.");
    EXPECT_EQ(failure("textures { } end"),
              "The textures section of bad.ini is not available in this build.");
    EXPECT_EQ(failure("scenes { } end"),
              "The scenes section of bad.ini is not available in this build.");
    EXPECT_THAT(failure("music { } sound"), ::testing::StartsWith("Parse error (bad.ini 1 ): One of"));
    EXPECT_THAT(failure("music { }"), ::testing::EndsWith("was expected here.EOF"));
}

TEST_F(PlayerTest, AMissingProgressFileStopsLoading) {
    std::filesystem::remove("progress.dat");
    writeFile("show.ini", "end");
    DemoPlayer player(host, {});
    try {
        player.load("show.ini");
        FAIL() << "loaded without progress.dat";
    } catch (const ExceptionBase& error) {
        EXPECT_EQ(error.message(), "Cannot open progress.dat. Use -progress flag to generate file.");
    }
}

}  // namespace
}  // namespace demo::testing

namespace demo::testing {
namespace {

// The code block that follows the first line containing `marker`.
std::string codeBlockAfter(const std::string& text, const std::string& marker) {
    std::size_t at = text.find(marker);
    if (at == std::string::npos) return "";
    std::size_t open = text.find("```\n", at);
    if (open == std::string::npos) return "";
    open += 4;
    std::size_t close = text.find("```", open);
    return close == std::string::npos ? "" : text.substr(open, close - open);
}

TEST_F(PlayerTest, TheGuidesCompleteExamplePlays) {
    std::filesystem::path guide =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "docs" /
        "show-script.md";
    std::ifstream in(guide);
    ASSERT_TRUE(in) << guide;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string script = codeBlockAfter(text, "## A complete example");
    std::string flash = codeBlockAfter(text, "and the file \"flash\":");
    ASSERT_FALSE(script.empty());
    ASSERT_EQ(flash, "clear { color <1 1 1 1> }\n");
    writeFile("flash", flash);
    play(script, {0, 8, 12, 12.2f, 29, 30, 31});
    EXPECT_EQ(host.musicFile, "music.ogg");
    EXPECT_EQ(host.frames, 6);  // 31 is past the stop time
}

}  // namespace
}  // namespace demo::testing
