#include "manager/archive_builder.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "manager/archive_scramble.h"

namespace demo {
namespace {

constexpr std::uint64_t kMaxImage = std::numeric_limits<std::int32_t>::max();

void append32(std::vector<unsigned char>& out, std::uint32_t value) {
    unsigned char bytes[4];
    archive::storeLittle32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

std::vector<unsigned char> buildImage(const std::vector<ArchiveMember>& members) {
    std::uint64_t directorySize = 4;
    std::uint64_t dataSize = 0;
    for (const ArchiveMember& member : members) {
        if (member.name.find('\0') != std::string::npos) {
            throw std::invalid_argument("archive member name holds a NUL");
        }
        directorySize += 8 + member.name.size() + 1;
        dataSize += member.data.size();
    }
    if (members.size() > kMaxImage || directorySize + dataSize > kMaxImage) {
        throw std::length_error("archive image exceeds 2 GiB");
    }

    std::vector<unsigned char> image;
    image.reserve(directorySize + dataSize);
    append32(image, static_cast<std::uint32_t>(members.size()));
    std::uint64_t offset = directorySize;
    for (const ArchiveMember& member : members) {
        append32(image, static_cast<std::uint32_t>(offset));
        append32(image, static_cast<std::uint32_t>(member.data.size()));
        image.insert(image.end(), member.name.begin(), member.name.end());
        image.push_back(0);
        offset += member.data.size();
    }
    for (const ArchiveMember& member : members) {
        image.insert(image.end(), member.data.begin(), member.data.end());
    }
    return image;
}

}  // namespace

std::vector<unsigned char> buildArchive(const std::vector<ArchiveMember>& members, bool compress) {
    return packArchiveImage(buildImage(members), compress);
}

std::vector<unsigned char> packArchiveImage(const std::vector<unsigned char>& image, bool compress) {
    if (image.size() > kMaxImage) throw std::length_error("archive image exceeds 2 GiB");
    const std::size_t header = archive::kHeaderSize;
    std::vector<unsigned char> file(header);
    file[0] = compress ? 1 : 0;
    archive::storeLittle32(file.data() + 1, static_cast<std::uint32_t>(image.size()));
    if (compress) {
        uLongf packedSize = compressBound(static_cast<uLong>(image.size()));
        file.resize(header + packedSize);
        int result = compress2(file.data() + header, &packedSize, image.data(),
                               static_cast<uLong>(image.size()), Z_DEFAULT_COMPRESSION);
        if (result != Z_OK) throw std::runtime_error("zlib could not compress the archive");
        file.resize(header + packedSize);
    } else {
        file.resize(header + image.size());
        if (!image.empty()) std::memcpy(file.data() + header, image.data(), image.size());
    }
    archive::scramble(file.data() + header, file.size() - header);
    return file;
}

}  // namespace demo
