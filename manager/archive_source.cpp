#include "manager/archive_source.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "manager/archive_scramble.h"
#include "manager/path_lookup.h"
#include "manager/exceptions.h"
#include "manager/source_location.h"

namespace demo {
namespace {

// deflate cannot expand more than about 1032:1 (258 bytes per two-bit match).
constexpr std::uint64_t kMaxInflateRatio = 1032;

[[noreturn]] void corrupted() {
    throw ExceptionBase("Data is corrupted", source::kDataCorrupted.unit,
                        source::kDataCorrupted.line);
}

}  // namespace

ArchiveSource::ArchiveSource(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::exists(fileName, error)) return;
    std::uint64_t length = 0;
    std::FILE* in = openRegularFile(fileName, length);
    if (in == nullptr) corrupted();
    if (length > SIZE_MAX / 2) {
        std::fclose(in);
        corrupted();
    }
    // Left uninitialised: the read fills it, and a short read is refused.
    std::unique_ptr<unsigned char[]> file(new unsigned char[length]);
    std::size_t got = length > 0 ? std::fread(file.get(), 1, length, in) : 0;
    std::fclose(in);
    if (got != length) corrupted();
    load(std::move(file), length);
}

ArchiveSource::ArchiveSource(const std::vector<unsigned char>& fileBytes) {
    // Exactly the bytes given, so that a read past them is caught.
    std::unique_ptr<unsigned char[]> file(new unsigned char[fileBytes.size()]);
    if (!fileBytes.empty()) std::memcpy(file.get(), fileBytes.data(), fileBytes.size());
    load(std::move(file), fileBytes.size());
}

void ArchiveSource::load(std::unique_ptr<unsigned char[]> file, std::size_t length) {
    if (length < archive::kHeaderSize) corrupted();
    unsigned char flag = file[0];
    if (flag > 1) corrupted();
    std::uint32_t unpackedSize = archive::loadLittle32(file.get() + 1);

    file_ = std::move(file);
    unsigned char* body = file_.get() + archive::kHeaderSize;
    std::size_t bodyLength = length - archive::kHeaderSize;
    archive::unscramble(body, bodyLength);

    if (flag == 0) {
        image_ = body;
        imageSize_ = bodyLength;
    } else {
        // zlib counts in 32-bit units, and a body cannot inflate to more than
        // about 1032 times its length: refuse a size it cannot hold before
        // allocating it.
        if (bodyLength > UINT32_MAX ||
            unpackedSize > static_cast<std::uint64_t>(bodyLength) * kMaxInflateRatio) {
            corrupted();
        }
        // At least one byte so that zlib always has an output pointer.
        inflated_.reset(new unsigned char[unpackedSize > 0 ? unpackedSize : 1]);
        z_stream stream{};
        if (inflateInit(&stream) != Z_OK) {
            throw ExceptionBase("Cannot init zlib.", source::kCannotInitZlib.unit,
                                source::kCannotInitZlib.line);
        }
        stream.next_in = body;
        stream.avail_in = static_cast<uInt>(bodyLength);
        stream.next_out = inflated_.get();
        stream.avail_out = unpackedSize;
        int result = inflate(&stream, Z_FINISH);
        uLong produced = stream.total_out;
        inflateEnd(&stream);
        if (result != Z_STREAM_END || produced != unpackedSize) corrupted();
        file_.reset();
        image_ = inflated_.get();
        imageSize_ = unpackedSize;
    }
    readDirectory();
}

void ArchiveSource::readDirectory() {
    if (imageSize_ < 4) corrupted();
    auto count = static_cast<std::int32_t>(archive::loadLittle32(image_));
    std::size_t pos = 4;
    for (std::int32_t i = 0; i < count; ++i) {
        if (imageSize_ - pos < 8) corrupted();
        auto offset = static_cast<std::int32_t>(archive::loadLittle32(image_ + pos));
        auto size = static_cast<std::int32_t>(archive::loadLittle32(image_ + pos + 4));
        pos += 8;
        if (offset < 0 || size < 0) corrupted();
        if (static_cast<std::uint64_t>(offset) + static_cast<std::uint64_t>(size) > imageSize_) {
            corrupted();
        }
        const void* nul = std::memchr(image_ + pos, 0, imageSize_ - pos);
        if (nul == nullptr) corrupted();
        auto nameLength = static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - (image_ + pos));
        std::string name(reinterpret_cast<const char*>(image_ + pos), nameLength);
        pos += nameLength + 1;
        directory_[std::move(name)] =
            Entry{static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(size)};
    }
}

MemoryFile* ArchiveSource::open(const std::string& name) {
    auto found = directory_.find(name);
    // Packed from a case-insensitive disk: "CWALL02.jpg" answers "cwall02.jpg".
    if (found == directory_.end()) {
        found = std::find_if(directory_.begin(), directory_.end(),
                             [&name](const auto& entry) { return equalIgnoringCase(entry.first, name); });
    }
    if (found == directory_.end()) return nullptr;
    return new MemoryFile(name, image_ + found->second.offset, found->second.size);
}

}  // namespace demo
