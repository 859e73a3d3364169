#include "platform/temporary_file.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace demo::platform {

std::string temporaryDirectory() {
    const char* dir = std::getenv("TMPDIR");
    return dir != nullptr && *dir != '\0' ? dir : P_tmpdir;
}

std::optional<std::string> createTemporaryFile(const std::string& prefix) {
    std::string dir = temporaryDirectory();
    if (dir.back() != '/') dir += '/';
    std::string pattern = dir + prefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) return std::nullopt;
    close(fd);
    return std::string(name.data());
}

}  // namespace demo::platform
