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

// The bytes of an archive file around an unpacked image (directory and
// member data) as it stands, packed as buildArchive packs: lets a fuzzer
// reach the directory of a compressed archive with any contents.
std::vector<unsigned char> packArchiveImage(const std::vector<unsigned char>& image, bool compress);

}  // namespace demo
