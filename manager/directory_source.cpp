#include "manager/directory_source.h"

#include <algorithm>
#include <cstdio>

#include "manager/path_lookup.h"

namespace demo {

DirectorySource::DirectorySource(const std::string& path)
    : prefix_(path.empty() ? std::string("./") : path) {
    std::replace(prefix_.begin(), prefix_.end(), '\\', '/');
    if (prefix_.back() != '/') prefix_ += '/';
}

MemoryFile* DirectorySource::open(const std::string& name) {
    std::uint64_t length = 0;
    std::string path = !name.empty() && name[0] == '/' ? name : prefix_ + name;
    std::FILE* in = openRegularFile(path, length);
    if (in == nullptr) in = openRegularFile(findPathIgnoringCase(path), length);
    if (in == nullptr) return nullptr;
    // Sizes are 32-bit: a file of 4 GiB or more is not served.
    if (length > UINT32_MAX) {
        std::fclose(in);
        return nullptr;
    }
    auto* file = new MemoryFile(name, static_cast<std::uint32_t>(length));
    std::size_t got = length > 0 ? std::fread(file->data, 1, length, in) : 0;
    std::fclose(in);
    if (got != length) {  // truncated under us or unreadable: absent here
        delete file;
        return nullptr;
    }
    openedFileNames().push_back(name);
    return file;
}

}  // namespace demo
