#pragma once
// A file's bytes in memory and the sources that produce them (data
// directories and archives). Loaders that only read bytes include this alone.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace demo {

// A file's bytes in memory: an owning copy, or a view into an archive image.
class MemoryFile {
public:
    MemoryFile(std::string name, std::uint32_t size);                             // owning
    MemoryFile(std::string name, const unsigned char* data, std::uint32_t size);  // view
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    std::string name;
    int referenceCount = 1;
    unsigned char* data = nullptr;
    std::uint32_t size = 0;
    bool owns = false;
};

class FileSource {
public:
    // Null when this source does not hold the name.
    virtual MemoryFile* open(const std::string& name) = 0;
    virtual ~FileSource() = default;
};

// The names that directory sources have opened, in order.
std::vector<std::string>& openedFileNames();

// Opens path for binary reading when it is a regular file (Linux would open a
// directory too) and gives its length; null otherwise.
std::FILE* openRegularFile(const std::string& path, std::uint64_t& length);

}  // namespace demo
