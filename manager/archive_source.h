#pragma once
// A data archive as a file source. The archive is one file: a flag byte
// (0 stored, 1 zlib-compressed), the unpacked size (u32, little-endian) and a
// scrambled body. The unpacked image holds a member count and directory
// entries {offset, size, NUL-terminated name}; members are served as views
// into the image, which the source owns.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "manager/memory_file.h"

namespace demo {

class ArchiveSource : public FileSource {
public:
    struct Entry {
        std::uint32_t offset;
        std::uint32_t size;
    };

    // Loads the named archive file. A file that does not exist is an empty
    // source, so a show can run from its directories alone. Anything
    // malformed throws "Data is corrupted".
    explicit ArchiveSource(const std::string& fileName);
    // Loads an archive from the bytes of its file.
    explicit ArchiveSource(const std::vector<unsigned char>& fileBytes);
    ~ArchiveSource() override = default;

    // A view of the member, or null when the archive does not hold it.
    MemoryFile* open(const std::string& name) override;

    const std::map<std::string, Entry>& directory() const { return directory_; }

private:
    // Takes the file's bytes; the image is either the inflated body or, for a
    // stored archive, the body in place inside them.
    void load(std::unique_ptr<unsigned char[]> file, std::size_t length);
    void readDirectory();

    std::unique_ptr<unsigned char[]> file_;
    std::unique_ptr<unsigned char[]> inflated_;
    const unsigned char* image_ = nullptr;
    std::size_t imageSize_ = 0;
    std::map<std::string, Entry> directory_;
};

}  // namespace demo
