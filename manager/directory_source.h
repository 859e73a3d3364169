#pragma once
// A data directory as a file source: files are read whole from prefix + name.

#include <string>

#include "manager/memory_file.h"

namespace demo {

class DirectorySource : public FileSource {
public:
    // Backslashes become "/" and a trailing "/" is added; an empty path is the
    // current directory.
    explicit DirectorySource(const std::string& path);

    // Null unless prefix + name (an absolute name as it is) is a readable
    // regular file below 4 GiB that reads in full; a name missing as written
    // is looked up again without regard to case. Appends name to
    // openedFileNames() on success.
    MemoryFile* open(const std::string& name) override;

    const std::string& prefix() const { return prefix_; }

private:
    std::string prefix_;
};

}  // namespace demo
