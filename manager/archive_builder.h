#pragma once
// Packs named members into a data archive: the counterpart of ArchiveSource,
// used by the demoarc tool and by tests that need archives at run time.

#include <string>
#include <vector>

namespace demo {

struct ArchiveMember {
    std::string name;
    std::vector<unsigned char> data;
};

// The bytes of an archive file holding the members in the given order,
// zlib-compressed when `compress` is set. Throws std::invalid_argument for a
// name with a NUL in it and std::length_error when the image would not fit
// the format's signed 32-bit offsets.
std::vector<unsigned char> buildArchive(const std::vector<ArchiveMember>& members, bool compress);

}  // namespace demo
