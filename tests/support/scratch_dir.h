#pragma once
// Where tests write their files: under DEMO_TEST_TMP (ctest sets it), else /tmp.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace demo::test {

inline std::filesystem::path scratchRoot() {
    const char* dir = std::getenv("DEMO_TEST_TMP");
    return dir != nullptr && *dir != '\0' ? dir : "/tmp";
}

// A fresh, empty folder of that name under the scratch root.
inline std::filesystem::path freshScratchDir(const std::string& name) {
    std::filesystem::path dir = scratchRoot() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The build tree: test programs run as <build>/tests/<name>.
inline std::filesystem::path buildDir() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

}  // namespace demo::test
