#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <utility>

#include "manager/archive_builder.h"
#include "manager/archive_scramble.h"
#include "manager/archive_source.h"
#include "manager/exceptions.h"

namespace demo {
namespace {

using Bytes = std::vector<unsigned char>;

// Half noise, half runs, so compression has something to do.
Bytes sample(std::size_t length, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = i % 64 < 32 ? random() & 0xFF : i / 64;
    return bytes;
}

// An archive file around a hand-made image {count, offset, size, name}.
Bytes wrap(std::int32_t count, std::int32_t offset, std::int32_t size, const std::string& name) {
    Bytes file(archive::kHeaderSize, 0);
    for (auto value : {count, offset, size}) {
        file.resize(file.size() + 4);
        archive::storeLittle32(file.data() + file.size() - 4, static_cast<std::uint32_t>(value));
    }
    file.insert(file.end(), name.begin(), name.end());
    archive::scramble(file.data() + archive::kHeaderSize, file.size() - archive::kHeaderSize);
    return file;
}

// Only "Data is corrupted" may come out, never a crash; what loads reads in full.
void expectCorruptOrValid(const Bytes& file, bool mustBeCorrupt = false) {
    try {
        ArchiveSource source(file);
        EXPECT_FALSE(mustBeCorrupt);
        for (const auto& [name, entry] : source.directory()) {
            std::unique_ptr<MemoryFile> member(source.open(name));
            Bytes copy(member->data, member->data + member->size);  // ASan watches the read
        }
    } catch (const ExceptionBase& e) {
        ASSERT_EQ(e.message() + " " + std::to_string(e.sourceLine()), "Data is corrupted 126");
    }
}

TEST(ArchiveSource, RoundTripsStoredAndCompressedBodies) {
    for (std::size_t length = 0; length <= 600; ++length) {
        Bytes plain = sample(length, static_cast<unsigned>(length)), body = plain;
        archive::scramble(body.data(), length);
        if (length <= 4) {  // 1 and 2 bytes unchanged, 3 and 4 swap bytes 1 and 2, no XOR
            Bytes expected = plain;
            if (length > 2) std::swap(expected[1], expected[2]);
            EXPECT_EQ(body, expected) << length;
        }
        archive::unscramble(body.data(), length);
        ASSERT_EQ(body, plain) << length;
        for (bool compress : {false, true}) {
            ArchiveSource source(buildArchive({{"m", plain}}, compress));
            std::unique_ptr<MemoryFile> file(source.open("m"));
            ASSERT_TRUE(file && !file->owns);
            ASSERT_EQ(Bytes(file->data, file->data + file->size), plain) << length;
        }
    }
    for (bool compress : {false, true}) {
        // Long names, empty members, shared names (the later entry wins).
        ArchiveSource source(
            buildArchive({{std::string(3000, 'n'), {}}, {"dup", {1}}, {"dup", {2, 3}}}, compress));
        EXPECT_EQ(source.directory().at(std::string(3000, 'n')).size, 0u);
        EXPECT_EQ(std::unique_ptr<MemoryFile>(source.open("dup"))->data[1], 3);
        EXPECT_EQ(std::unique_ptr<MemoryFile>(source.open("DuP"))->size, 2u);  // case aside
        EXPECT_EQ(source.open("absent"), nullptr);
        EXPECT_TRUE(ArchiveSource(buildArchive({}, compress)).directory().empty());
    }
    EXPECT_THROW(buildArchive({{std::string("a\0b", 3), {}}}, false), std::invalid_argument);
    EXPECT_TRUE(ArchiveSource("/nonexistent/data.m").directory().empty());

    // A round's second word is XORed only when it lies wholly in the body.
    const std::size_t d = archive::kWordDistance, s = archive::kStride;
    for (std::size_t length : {d + 3, d + 4, s + 4, s + 5}) {
        Bytes zeros(s + 16, 0);  // room past every length tried
        archive::xorWords(zeros.data(), length);
        EXPECT_EQ(archive::loadLittle32(zeros.data() + d) != 0, length >= d + 4) << length;
        EXPECT_EQ(archive::loadLittle32(zeros.data() + s) != 0, length > s + 4) << length;
        for (std::size_t i = length; i < zeros.size(); ++i) ASSERT_EQ(zeros[i], 0) << length;
    }
}

TEST(ArchiveSource, BrokenArchivesAreCorruptNeverACrash) {
    std::vector<ArchiveMember> members{{"one", sample(40, 1)}, {"two/3", sample(90, 2)}, {"e", {}}};
    for (bool compress : {false, true}) {
        Bytes valid = buildArchive(members, compress);
        for (std::size_t length = 0; length < valid.size(); ++length)
            expectCorruptOrValid(Bytes(valid.begin(), valid.begin() + length), true);
        const std::uint32_t image = archive::loadLittle32(valid.data() + 1);
        for (std::uint32_t size : {0u, image - 1, image + 1, 0xFFFFFFFFu}) {
            archive::storeLittle32(valid.data() + 1, size);  // a stored body ignores it
            expectCorruptOrValid(valid, compress);
            EXPECT_TRUE(compress || ArchiveSource(valid).directory().size() == 3u);
        }
    }
    const std::string a("a\0", 2);
    for (const Bytes& file : {wrap(2, 0, 4, a), wrap(1, 0, 4, "no-nul"), wrap(1, -1, 1, a), wrap(1, 0, -1, a),
                              wrap(1, 8, 7, a), wrap(1, 0x7FFFFFFF, 0x7FFFFFFF, a)})
        expectCorruptOrValid(file, true);
    EXPECT_EQ(ArchiveSource(wrap(1, 8, 6, a)).directory().at("a").size, 6u);  // up to the end
    EXPECT_TRUE(ArchiveSource(wrap(-5, 0, 0, "")).directory().empty());
}

}  // namespace
}  // namespace demo
