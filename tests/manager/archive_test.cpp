#include "manager/archive_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>

#include "manager/archive_builder.h"
#include "manager/archive_scramble.h"
#include "manager/exceptions.h"

namespace demo {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes sample(std::size_t length, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(length);
    // Half noise, half runs, so compression has something to do.
    for (std::size_t i = 0; i < length; ++i) bytes[i] = i % 64 < 32 ? random() & 0xFF : i / 64;
    return bytes;
}

// Every member readable and equal; ASan watches the reads.
void expectMembers(ArchiveSource& source, const std::vector<ArchiveMember>& members) {
    for (const ArchiveMember& member : members) {
        std::unique_ptr<MemoryFile> file(source.open(member.name));
        ASSERT_NE(file, nullptr) << member.name;
        EXPECT_FALSE(file->owns);
        ASSERT_EQ(file->size, member.data.size());
        EXPECT_TRUE(member.data.empty() || std::memcmp(file->data, member.data.data(), file->size) == 0);
    }
}

// An archive file around a hand-made image, to express broken directories.
Bytes wrap(Bytes image) {
    Bytes file(5 + image.size(), 0);
    std::copy(image.begin(), image.end(), file.begin() + 5);
    archive::scramble(file.data() + 5, file.size() - 5);
    return file;
}

void put32(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(value >> (8 * i) & 0xFF);
}

Bytes entryImage(std::int32_t count, std::int32_t offset, std::int32_t size, const std::string& name) {
    Bytes image;
    put32(image, count);
    put32(image, offset);
    put32(image, size);
    image.insert(image.end(), name.begin(), name.end());
    return image;
}

// Loads, and reads every member when it loads: only "Data is corrupted" may
// come out, never a crash or another failure.
void expectCorruptOrValid(Bytes file, bool mustBeCorrupt = false) {
    try {
        ArchiveSource source(std::move(file));
        EXPECT_FALSE(mustBeCorrupt);
        unsigned sum = 0;
        for (const auto& [name, entry] : source.directory()) {
            std::unique_ptr<MemoryFile> member(source.open(name));
            for (std::uint32_t i = 0; i < member->size; ++i) sum += member->data[i];
        }
        (void)sum;
    } catch (const ExceptionBase& e) {
        std::ostringstream out;
        e.print(out);
        ASSERT_EQ(out.str(), "manager/fileio L126: Data is corrupted");
    }
}

TEST(ArchiveScramble, InvertsAtEveryLengthAndKeepsInsideTheBody) {
    for (std::size_t length = 0; length <= 600; ++length) {
        Bytes plain = sample(length, static_cast<unsigned>(length));
        Bytes body = plain;
        archive::scramble(body.data(), body.size());
        if (length > 4) {
            EXPECT_NE(body, plain) << length;
        }
        archive::unscramble(body.data(), body.size());
        ASSERT_EQ(body, plain) << length;
    }
    // Short bodies: 1 and 2 bytes unchanged, 3 swaps bytes 1 and 2, no XOR.
    Bytes three{1, 2, 3};
    archive::scramble(three.data(), 3);
    EXPECT_EQ(three, (Bytes{1, 3, 2}));
    Bytes two{1, 2};
    archive::scramble(two.data(), 2);
    EXPECT_EQ(two, (Bytes{1, 2}));

    // A round's second word is XORed only when it lies wholly in the body.
    const std::size_t d = archive::kWordDistance;
    for (std::size_t length : {d + 3, d + 4, archive::kStride + 4, archive::kStride + 5}) {
        Bytes zeros(archive::kStride + 16, 0);  // room past every length tried
        archive::xorWords(zeros.data(), length);
        EXPECT_EQ(archive::loadLittle32(zeros.data() + d) != 0, length >= d + 4) << length;
        EXPECT_EQ(archive::loadLittle32(zeros.data() + archive::kStride) != 0,
                  length > archive::kStride + 4) << length;
        for (std::size_t i = length; i < zeros.size(); ++i) ASSERT_EQ(zeros[i], 0) << length;
    }
}

TEST(ArchiveSource, RoundTripsStoredAndCompressedBodies) {
    for (bool compress : {false, true}) {
        for (std::size_t length = 0; length <= 600; ++length) {
            std::vector<ArchiveMember> members{{"m", sample(length, 7)}};
            ArchiveSource source(buildArchive(members, compress));
            ASSERT_EQ(source.directory().size(), 1u);
            expectMembers(source, members);
        }
        // Long names, empty members, shared names (the later entry wins).
        std::vector<ArchiveMember> members{
            {std::string(3000, 'n'), sample(10, 1)}, {"dir/empty", {}}, {"dup", {1}}, {"dup", {2, 3}}};
        ArchiveSource source(buildArchive(members, compress));
        expectMembers(source, {members[0], members[1], members[3]});
        EXPECT_EQ(source.open("absent"), nullptr);
        ArchiveSource empty(buildArchive({}, compress));
        EXPECT_TRUE(empty.directory().empty());
    }
    EXPECT_THROW(buildArchive({{std::string("a\0b", 3), {}}}, false), std::invalid_argument);
}

TEST(ArchiveSource, MissingFileIsAnEmptySource) {
    ArchiveSource source("/nonexistent/data.m");
    EXPECT_TRUE(source.directory().empty());
    EXPECT_EQ(source.open("anything"), nullptr);
}

TEST(ArchiveSource, MalformedHeadersAndDirectoriesAreCorrupt) {
    for (std::size_t length = 0; length < 5; ++length) expectCorruptOrValid(Bytes(length, 0), true);
    Bytes valid = buildArchive({{"a", sample(100, 3)}}, true);
    Bytes badFlag = valid;
    badFlag[0] = 2;
    expectCorruptOrValid(badFlag, true);
    for (std::uint32_t size : {99u, 101u, 0u, 0xFFFFFFFFu}) {  // the image is not that size
        Bytes wrong = valid;
        for (int i = 0; i < 4; ++i) wrong[1 + i] = size >> (8 * i) & 0xFF;
        expectCorruptOrValid(wrong, true);
    }

    expectCorruptOrValid(wrap({1, 0, 0}), true);                             // no room for the count
    expectCorruptOrValid(wrap(entryImage(2, 0, 4, std::string("a\0", 2))), true);  // count beyond
    expectCorruptOrValid(wrap(entryImage(1, 0, 4, "no-nul")), true);
    expectCorruptOrValid(wrap(entryImage(1, -1, 1, std::string("a\0", 2))), true);
    expectCorruptOrValid(wrap(entryImage(1, 0, -1, std::string("a\0", 2))), true);
    expectCorruptOrValid(wrap(entryImage(1, 8, 7, std::string("a\0", 2))), true);  // past the end
    expectCorruptOrValid(wrap(entryImage(1, 0x7FFFFFFF, 0x7FFFFFFF, std::string("a\0", 2))), true);

    ArchiveSource exactEnd(wrap(entryImage(1, 8, 6, std::string("a\0", 2))));
    EXPECT_EQ(exactEnd.directory().at("a").size, 6u);
    ArchiveSource negativeCount(wrap(entryImage(-5, 0, 0, "")));
    EXPECT_TRUE(negativeCount.directory().empty());
}

TEST(ArchiveSource, EveryTruncationAndByteFlipIsCorruptOrValid) {
    std::vector<ArchiveMember> members{{"one", sample(40, 1)}, {"two/three", sample(90, 2)}, {"e", {}}};
    for (bool compress : {false, true}) {
        Bytes valid = buildArchive(members, compress);
        for (std::size_t length = 0; length < valid.size(); ++length) {
            expectCorruptOrValid(Bytes(valid.begin(), valid.begin() + length), true);
        }
        for (std::size_t i = 0; i < valid.size(); ++i) {
            for (unsigned char flip : {0x01, 0x80, 0xFF}) {
                Bytes broken = valid;
                broken[i] ^= flip;
                expectCorruptOrValid(broken);
            }
        }
    }
}

}  // namespace
}  // namespace demo
