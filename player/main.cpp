// demoplayer: plays a show script ("demo.ini" unless named) with the data
// archives "data.m", "data.i" and "data.t" and any directories it adds.

#include <exception>
#include <iostream>

#include "player/demo_player.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "player/show_native_host.h"
#include "player/show_options.h"
#include "manager/timer_base.h"
#include "math/polygoniser.h"
#include "platform/large_pages.h"

int main(int argc, char** argv) {
    using namespace demo;
    // Every timing, the clock's included, counts from here.
    initTimerBase();
    Polygoniser::adviseWorkMemory = platform::adviseLargePages;
    try {
        FileSystem* files = FileSystem::instance();
        files->mountArchive("data.m");
        files->mountArchive("data.i");
        files->mountArchive("data.t");
        ShowOptions options = parseCommandLine(argc, argv);
        NativeShowHost host;
        DemoPlayer player(host, options);
        player.load(options.script);
        player.play();
    } catch (const ExceptionBase& error) {
        std::cout << "Top level:";
        error.print(std::cout);
        std::cout << std::endl;
        return -1;
    } catch (const InitGLException& error) {
        std::cout << "Top level:" << error.message() << std::endl;
        return -1;
    } catch (const std::exception& error) {
        std::cout << "std::exception: " << error.what() << std::endl;
        return -1;
    }
    return 0;
}
