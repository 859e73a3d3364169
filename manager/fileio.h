#pragma once
// The file system: every data file of the show is read whole into memory
// through it. Sources are data directories and mounted archives; the source
// added last is asked first. Opened files are cached by name with reference
// counts, so a file opened twice is read once.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "manager/resource_cache.h"
#include "manager/singleton.h"

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

class FileSystem : public ResourceCache<MemoryFile>, public Singleton {
public:
    static FileSystem* instance();

    void addDirectory(const std::string& path);
    void mountArchive(const std::string& fileName);

    // Asks the sources newest first; ResourceMissing when none has the name.
    MemoryFile* open(const std::string& name);

    // "Files:" and every name read from a directory, in the order of opening.
    void dumpFiles();

protected:
    MemoryFile* create(const std::string& name) override { return open(name); }

private:
    FileSystem();
    std::vector<FileSource*> sources_;
};

// The names that directory sources have opened, in order.
std::vector<std::string>& openedFileNames();

// Opens path for binary reading when it is a regular file (Linux would open a
// directory too) and gives its length; null otherwise.
std::FILE* openRegularFile(const std::string& path, std::uint64_t& length);

// The file's bytes plus a terminating NUL, in a new buffer the caller owns
// (delete[]). Keeps the reference it takes on the cached file.
char* readTextFile(const std::string& name);

}  // namespace demo
