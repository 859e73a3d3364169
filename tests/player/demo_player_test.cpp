// The player's timeline and main loop, on a null window and a scripted clock,
// with a "recorder" effect that journals what it is given.

#include "player/demo_player.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <tuple>

#include "manager/ascii_reader.h"
#include "manager/event.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "manager/process.h"
#include "manager/progress_bar.h"
#include "player/show_host.h"
#include "tests/support/error_of.h"
#include "tests/support/show_test_host.h"
#include "tests/support/scratch_dir.h"

namespace demo::testing {
namespace {

using test::TestHost;

using ::testing::ElementsAre;

// What the recorders did, in order: "run a 1.5", "event a 2 @0", "key a 65 @0",
// "mouse a 10 20 3 -4 1 @1", "deleted a".
std::vector<std::string>& journal() {
    static std::vector<std::string> lines;
    return lines;
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

class Recorder : public Process {
public:
    Recorder(const std::string& name, ProcessType* type, AsciiReader&) : Process(name, type) {}
    ~Recorder() override { journal().push_back("deleted " + name); }

    void run(float localTime) override {
        journal().push_back("run " + name + " " + number(localTime));
    }
    void handleEvent(Event* event) override {
        int kind = event->kind();
        std::string line =
            (kind == EVENT_KEY ? "key " : kind == EVENT_MOUSE ? "mouse " : "event ") + name;
        std::vector<int> fields = {kind};
        if (kind == EVENT_KEY) fields = {static_cast<KeyEvent*>(event)->key};
        if (kind == EVENT_MOUSE) {
            auto* m = static_cast<MouseEvent*>(event);
            fields = {m->x, m->y, m->dx, m->dy, m->buttons};
        }
        for (int field : fields) line += " " + std::to_string(field);
        journal().push_back(line + " @" + number(event->time));
    }

    static Event* createEvent(const std::string& command, Process*, AsciiReader& reader) {
        if (command != "MARK") return nullptr;  // MARK n: an effect event of kind 7 + n
        int kind = 7 + static_cast<int>(reader.readNumber());
        reader.expectSymbol('}');
        return new TypedEvent(kind);
    }
};

// Each test in a fresh scratch directory with an empty progress.dat (no
// fractions: loading only counts steps); on the way out every process the
// test made must be gone.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        static ProcessRegistrar<Recorder> recorderType("recorder");
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        auto dir = test::freshScratchDir("player_" + std::string(info->name()));
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir);
        writeFile("progress.dat", "");
        ProgressBar::instance()->reset();
        FileSystem::instance()->collectUnused();  // forget files of earlier tests
        journal().clear();
    }

    void TearDown() override {
        std::filesystem::current_path(previous_);
        auto& left = ProcessManager::instance()->objects();
        EXPECT_TRUE(left.empty()) << "a process outlived the player: " << left.begin()->first;
    }

    static void writeFile(const std::string& name, const std::string& text) {
        std::ofstream(name, std::ios::binary) << text;
    }

    static std::vector<std::string> linesStarting(const std::string& prefix) {
        std::vector<std::string> found;
        for (const std::string& line : journal()) {
            if (line.rfind(prefix, 0) == 0) found.push_back(line);
        }
        return found;
    }

    // Loads `script` (written as "show.ini"); the clock will read `times`.
    std::unique_ptr<DemoPlayer> load(const std::string& script, std::vector<float> times,
                                     ShowOptions options = {}) {
        writeFile("show.ini", script);
        host.times = std::move(times);
        auto player = std::make_unique<DemoPlayer>(host, options);
        player->load("show.ini");
        return player;
    }
    void play(const std::string& script, std::vector<float> times, ShowOptions options = {}) {
        load(script, std::move(times), options)->play();
    }

    std::filesystem::path previous_;
    TestHost host;
};

TEST_F(PlayerTest, OrderKeysDecideWhoRunsFirstAndLocalTimeIsTimeSinceStartTimesRate) {
    play(R"(processes { a recorder b recorder c recorder } events {
            { 0 a START 20 } { 0 b START 10 relative 120 }   // rate 2: local time in beats
            { 0 c START 20 rate 0.5 }       // equal keys run in the order they started
            { 1 a START 5 offset 10 }       // a restart: new key, start and local time
            { 2 b STOP } } end)", {0, 1, 2});
    EXPECT_THAT(linesStarting("run"), ElementsAre("run b 0", "run a 0", "run c 0",     //
                                                  "run a 10", "run b 2", "run c 0.5",  //
                                                  "run a 11", "run c 1"));
    EXPECT_EQ(host.frames, 3);
}

TEST_F(PlayerTest, DueEventsRunInListOrderBeforeTheProcessesUntilTheStopTime) {
    play(R"(music { starttime 1 stoptime 20.5 part slow 10 60 part quick 20 240 }
        processes { a recorder } events {
            { quick:2 a MARK 5 }   // 20 + 2 x 60 / 240 = 20.5
            { slow:3  a MARK 4 }   // 10 + 3 = 13
            { 1 a MARK 3 } { 0.5 a MARK 1 } { 0.5 a MARK 2 }
            { 0.2 a START 0 } { 0.9 a STOP } { 0.9 a START 0 } } end)",
         {1, 12.9f, 13, 20.5f, 20.6f});
    EXPECT_THAT(journal(), ElementsAre("event a 0 @0.2", "event a 8 @0.5", "event a 9 @0.5",
                                       "event a 1 @0.9", "event a 0 @0.9", "event a 10 @1",
                                       "run a 0.1", "run a 12", "event a 11 @13", "run a 12.1",
                                       "event a 12 @20.5", "run a 19.6", "deleted a"));
    EXPECT_EQ(host.startedAt, 1.0f);
    EXPECT_TRUE(host.stopped);
}

TEST_F(PlayerTest, EventsOfLaterSectionsMergeInTimeOrderAfterEqualTimesReadBefore) {
    std::string second = "events {";
    for (int i = 999; i >= 0; --i) second += " { " + std::to_string(i % 10) + " a MARK 2 }";
    play("processes { a recorder }\nevents { { 9 a MARK 1 } { 0 a MARK 1 } }\n" + second + "}end",
         {9});
    std::vector<std::string> events = linesStarting("event");
    ASSERT_EQ(events.size(), 1002u);
    EXPECT_EQ(events[0], "event a 8 @0");
    EXPECT_EQ(events[1], "event a 9 @0");
    EXPECT_EQ(events[900], "event a 9 @8");
    EXPECT_EQ(events[901], "event a 8 @9");
}

TEST_F(PlayerTest, AClockThatEndsFirstOrAWindowThatIsDoneEndsTheShow) {
    host.clockEnd = 5.0f;
    auto player = load(
        "music { stoptime 6 } processes { a recorder } events { { 0 a START 0 } } end", {0, 1, 2});
    host.onPump = [](TestHost& window) { window.setDone(window.pumps == 2); };
    player->play();
    EXPECT_THAT(linesStarting("run"), ElementsAre("run a 0", "run a 1"));
}

TEST_F(PlayerTest, KeysAndMouseReachOnlyTheFocusedProcesses) {
    auto player = load(R"(processes { a recorder b recorder c recorder } events {
            { 0 a FOCUS } { 0 b FOCUS } { 0 b FOCUS } { 2 a NOFOCUS } } end)", {0, 1, 2});
    ASSERT_EQ(host.listener(), player.get());
    host.onPump = [](TestHost& window) {
        InputListener* input = window.listener();
        if (window.pumps == 1)
            input->key(true, 65), input->key(false, 65), input->mouseMove(0, 10, 20);
        if (window.pumps == 2) input->mouseButtons(kMouseLeft, 13, 16);
        if (window.pumps == 3) input->key(true, 66), input->mouseMove(0, INT_MIN, INT_MAX);
    };
    player->play();
    EXPECT_THAT(linesStarting("key"), ElementsAre("key a 65 @0", "key b 65 @0", "key b 66 @2"));
    EXPECT_THAT(linesStarting("mouse"),
                ElementsAre("mouse a 10 20 0 0 0 @0", "mouse b 10 20 0 0 0 @0",
                            "mouse a 13 16 3 -4 1 @1", "mouse b 13 16 3 -4 1 @1",
                            "mouse b -2147483648 2147483647 -2147483648 2147483631 0 @2"));
}

TEST_F(PlayerTest, ReferenceCountsReturnToZeroAndAFileLoadedProcessLivesWhileItRuns) {
    writeFile("ghost", "recorder");
    {
        auto player = load(R"(processes { a recorder b recorder a recorder }   // a declared twice
            events { { 0 a START 0 } { 0 b FOCUS } { 0 ghost START 1 }
                { 99 b MARK 1 } } end)", {0, 1});                  // never due
        auto counts = [] {
            auto& objects = ProcessManager::instance()->objects();
            return std::tuple(objects.at("a")->referenceCount, objects.at("b")->referenceCount,
                              objects.at("ghost")->referenceCount);
        };
        // The first "a" was replaced; the events hold the rest.
        EXPECT_EQ(counts(), std::tuple(2, 3, 1));
        player->play();
        // a: declared + running; b: declared + focus + MARK; ghost: running,
        // though its START event, which held its only reference, is gone.
        EXPECT_EQ(counts(), std::tuple(2, 3, 1));
    }
    EXPECT_THAT(linesStarting("run"),
                ElementsAre("run a 0", "run ghost 0", "run a 1", "run ghost 1"));
    EXPECT_EQ(linesStarting("deleted").size(), 4u);  // both a's, b and ghost
}

TEST_F(PlayerTest, TheScreenSectionOpensTheWindowAndTheMusicChoosesTheClock) {
    play(R"(screen { width 320 height 200 bits 16 fullscreen nocursor }
        music { file "song.ogg" stoptime 1 } end)", {0}, ShowOptions{"show.ini", false, false});
    const DisplaySettings& s = host.settings;
    EXPECT_EQ(std::tie(host.displaysOpened, s.width, s.height, s.colourBits),
              std::tuple(1, 320, 200, 16));
    EXPECT_TRUE(s.fullscreen && !s.showCursor && s.doubleBuffer);
    EXPECT_EQ(std::tie(host.musicFile, host.soundOn), std::tuple("song.ogg", false));
    EXPECT_TRUE(ProgressBar::instance()->displayReady());

    // Without a screen section the defaults open before the processes; the
    // switch records progress.dat (begin, a, end) instead of reading it.
    std::filesystem::remove("progress.dat");
    TestHost plain;
    writeFile("plain.ini", "data { \"extra\" } processes { a recorder } end");
    DemoPlayer(plain, ShowOptions{"plain.ini", true, true}).load("plain.ini");
    EXPECT_EQ(std::tie(plain.displaysOpened, plain.settings.width), std::tuple(1, 640));
    EXPECT_GE(std::filesystem::file_size("progress.dat"), 3u);
}

TEST_F(PlayerTest, ScriptErrorsNameTheScriptAndLine) {
    auto failure = [&](const std::string& script) -> std::string {
        FileSystem::instance()->collectUnused();  // the previous bad.ini
        writeFile("bad.ini", script);
        TestHost other;
        return test::errorOf([&] { DemoPlayer(other, {}).load("bad.ini"); });
    };
    writeFile("ghost", "recorder");
    const std::pair<const char*, const char*> cases[] = {
        {"processes { a recorder }\nevents {\n { 1 a JUMP } }\nend",
         "Parse error (bad.ini 3 ): Unknown command 'JUMP' for process 'a'."},
        {"processes { bg recorder }\nevents {\n { 0 bgg START 0 } }\nend",
         "Parse error (bad.ini 3 ): No process is declared under the name 'bgg', and no file of that name exists: Cannot obtain 'bgg'."},
        {"processes { a recorder }\nevents { { verse:1 a STOP } } end",
         "Parse error (bad.ini 2 ): Unknown part 'verse'."},
        {"music { part p 0 0 } end", "Parse error (bad.ini 1 ): Tempo must be above 0."},
        {"music { part p 10000000000000000000000000000000000000000 60 } end",
         "Parse error (bad.ini 1 ): The part's begin is not a finite number."},
        {"processes { a recorder }\nevents { { 10000000000000000000000000000000000000000 a STOP } } end",
         "Parse error (bad.ini 2 ): The event time is not a finite number."},
        {"music { part p 0 0.00000000000000000000000000000000000000000001 }\nprocesses { a recorder }\nevents { { p:1 a STOP } } end",
         "Parse error (bad.ini 3 ): The event time is not a finite number."},
        {"textures { }\nscreen end",
         "Parse error (bad.ini 2 ): The window is open already (the textures section opened it): "
         "one screen section, before the processes, events, textures and scenes."},
        {"events { { 1 ghost STOP } }\nprocesses { ghost recorder } end",
         "Parse error (bad.ini 2 ): Process 'ghost' is declared after events have used it."},
        {"textures {\n t rectangle { width 2 height 2 } } end",
         "Parse error (bad.ini 2 ): textures need an OpenGL context"},
        {"scenes {\n s \"3DS\" \"none.3ds\" } end", "Parse error (bad.ini 2 ): Cannot obtain 'none.3ds'."},
        {"scenes { s \"3ds\" \"none.3ds\" } end", "Parse error (bad.ini 1 ): Unknown scene type '3ds'."},
    };
    for (const auto& [script, message] : cases) EXPECT_EQ(failure(script), message) << script;
    // A script without "end" is an error, not a hang.
    EXPECT_THAT(failure("music { }"), ::testing::EndsWith("was expected here.EOF"));
}

// The code block that follows the first line containing `marker`.
std::string codeBlockAfter(const std::string& text, const std::string& marker) {
    std::size_t open = text.find("```\n", text.find(marker));
    std::size_t close = open == std::string::npos ? open : text.find("```", open + 4);
    return close == std::string::npos ? "" : text.substr(open + 4, close - open - 4);
}

TEST_F(PlayerTest, TheGuidesCompleteExamplePlays) {
    std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "../../docs/show-script.md");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    writeFile("flash", codeBlockAfter(text, "and the file \"flash\":"));
    play(codeBlockAfter(text, "## A complete example"), {0, 8, 12, 12.2f, 29, 30, 31});
    EXPECT_EQ(host.musicFile, "music.ogg");
    EXPECT_EQ(host.frames, 6);  // 31 is past the stop time
}

}  // namespace
}  // namespace demo::testing
