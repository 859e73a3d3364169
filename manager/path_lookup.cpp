#include "manager/path_lookup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace demo {

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool endsWithIgnoringCase(const std::string& name, const std::string& suffix) {
    return name.size() >= suffix.size() &&
           equalIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
}

std::string findPathIgnoringCase(const std::string& path) {
    namespace fs = std::filesystem;
    std::string normal = path;
    std::replace(normal.begin(), normal.end(), '\\', '/');
    std::error_code error;
    if (normal.empty() || fs::exists(normal, error)) return normal;

    std::string found = normal[0] == '/' ? "/" : "";
    std::size_t start = found.size();
    while (start <= normal.size()) {
        std::size_t end = normal.find('/', start);
        if (end == std::string::npos) end = normal.size();
        const std::string part = normal.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == "." || part == "..") {
            if (!part.empty()) found += part + "/";
            continue;
        }
        const std::string exact = found + part;
        if (!fs::exists(exact, error)) {
            std::string match;
            fs::directory_iterator entries(found.empty() ? "." : found, error);
            for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
                std::string entry = entries->path().filename().string();
                if (equalIgnoringCase(entry, part)) {
                    match = entry;
                    break;
                }
            }
            if (match.empty()) return normal;
            found += match;
        } else {
            found = exact;
        }
        if (end < normal.size()) found += "/";
    }
    return found;
}

}  // namespace demo
