// The command line.

#include "manager/show_options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "manager/exceptions.h"

namespace demo {
namespace {

ShowOptions parse(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"demoplayer"};
    argv.insert(argv.end(), arguments);
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, DefaultsAndSwitches) {
    ShowOptions plain = parse({});
    EXPECT_EQ(plain.script, "demo.ini");
    EXPECT_TRUE(plain.sound);
    EXPECT_FALSE(plain.generateProgress);

    for (const char* off : {"-nosound", "--nosound", "----nosound", "--silent"}) {
        EXPECT_FALSE(parse({off}).sound) << off;
    }
    ShowOptions all = parse({"-progress", "show.ini", "-nosound"});
    EXPECT_TRUE(all.generateProgress);
    EXPECT_FALSE(all.sound);
    EXPECT_EQ(all.script, "show.ini");
    // Without a dash it is a script name, whatever it says.
    EXPECT_EQ(parse({"nosound"}).script, "nosound");
    EXPECT_TRUE(parse({"nosound"}).sound);
}

TEST(CommandLine, AnyOtherDashArgumentIsRefused) {
    for (const char* bad : {"-silent", "-", "--", "-nosoundx", "--progress", "-x"}) {
        try {
            parse({bad});
            ADD_FAILURE() << bad << " was accepted";
        } catch (const DemoPlayerException& error) {
            EXPECT_EQ(error.message(), std::string("Unrecognized option '") + bad + "'");
        }
    }
}

}  // namespace
}  // namespace demo
