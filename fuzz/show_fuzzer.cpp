// libFuzzer over a whole show script: the real player loads it on a window
// that draws nothing and a clock of fixed times, plays a few frames, and must
// leave no process behind, whether the script loads or fails. A headless
// OpenGL context (SDL offscreen over Mesa) is current throughout, so textures,
// JPEGs named by shows and 3DS materials are reached too.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "graphics/opengl/scene_manager.h"
#include "graphics/opengl/texture_manager.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "manager/process.h"
#include "manager/progress_bar.h"
#include "player/demo_player.h"
#include "player/show_native_host.h"
#include "tests/support/show_test_host.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // An empty working directory of its own: processes that events name are
    // read from files of their name, and none should be found by chance.
    auto dir = std::filesystem::temp_directory_path() / ("show_fuzzer_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::ofstream("progress.dat", std::ios::binary);

    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Its context stays current for the whole run; never destroyed, as the
    // window's registry goes before it at exit.
    static auto* native = new demo::NativeShowHost;
    native->openDisplay(demo::DisplaySettings{});  // InitGLException: no run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::ofstream("show.ini", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    demo::ProgressBar::instance()->reset();
    demo::test::TestHost host;
    host.times = {0.0f, 0.5f, 1.0f, 2.0f, 8.0f};
    try {
        demo::DemoPlayer player(host, {});
        player.load("show.ini");
        player.play();
    } catch (const demo::ExceptionBase&) {
    } catch (const std::exception&) {
    }
    if (!demo::ProcessManager::instance()->objects().empty()) std::abort();
    // Each input starts from scratch: what a show declared goes (scenes
    // before the textures their materials hold), and so do its data
    // directories, which every later lookup would walk.
    demo::SceneManager::instance()->collectUnused();
    demo::TextureManager::instance()->collectUnused();
    demo::FileSystem::instance()->dropDataDirectories();
    return 0;
}
