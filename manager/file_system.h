#pragma once
// The file system: every data file of the show is read whole into memory
// through it. Sources are data directories and mounted archives; the source
// added last is asked first. Opened files are cached by name with reference
// counts, so a file opened twice is read once.

#include <memory>
#include <string>
#include <vector>

#include "manager/memory_file.h"
#include "manager/resource_cache.h"
#include "manager/singleton.h"

namespace demo {

class FileSystem : public ResourceCache<MemoryFile>, public Singleton {
public:
    static FileSystem* instance();

    void addDirectory(const std::string& path);
    void mountArchive(const std::string& fileName);

    // Asks the sources newest first; ResourceMissing when none has the name.
    MemoryFile* open(const std::string& name);

    // Back to the start for the next show in the same process: forgets the
    // data directories added since (archives stay, as files still held may
    // be views into them), the cached files that nothing holds and the list
    // of names read.
    void dropDataDirectories();

    // "Files:" and every name read from a directory, in the order of opening.
    void dumpFiles();

protected:
    MemoryFile* create(const std::string& name) override { return open(name); }

private:
    FileSystem();
    struct Source {
        std::unique_ptr<FileSource> files;
        bool dataDirectory;
    };
    std::vector<Source> sources_;
};

// The file's bytes plus a terminating NUL, in a new buffer the caller owns
// (delete[]). Keeps the reference it takes on the cached file.
char* readTextFile(const std::string& name);

}  // namespace demo
