// The SGI RGB reader: row packets, channel layouts, hostile headers and
// truncations, and files written by ImageMagick as an independent check.

#include "graphics/formats/sgi_image_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/font_writers.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

using test::Bytes;

// Decodes quietly; the message (standard output) goes to message.
bool decode(const Bytes& bytes, SgiImage& image, std::string* message = nullptr) {
    testing::internal::CaptureStdout();
    bool ok = decodeSgiImage(bytes.data(), bytes.size(), 0, image);
    std::string out = testing::internal::GetCapturedStdout();
    if (message != nullptr) *message = out;
    return ok;
}

Bytes pixels(const SgiImage& image) {
    return Bytes(image.rgba.get(), image.rgba.get() + std::size_t(image.width) * image.height * 4);
}

TEST(SgiRow, DecodesPacketsIntoExactlyOneRow) {
    struct Case {
        Bytes packets;
        std::size_t width;
        Bytes row;  // empty: refused
    } cases[] = {
        {{0x83, 1, 2, 3, 0x02, 9, 0x00}, 5, {1, 2, 3, 9, 9}},
        {{0x83, 1, 2, 3, 0x02, 9}, 5, {1, 2, 3, 9, 9}},  // the length ends the row
        {{0x83, 1, 2, 3, 0x02, 9, 0x00}, 4, {}},         // overrun
        {{0x83, 1, 2, 3, 0x02, 9, 0x00}, 6, {}},         // underrun
        {{0x83, 1, 2}, 3, {}},                           // literal past the length
        {{0x83, 1, 2, 3, 0x02}, 5, {}},                  // repeat without its byte
    };
    for (const Case& c : cases) {
        Bytes row(c.width, 0xEE);
        bool ok = decodeSgiRow(c.packets.data(), c.packets.size(), row.data(), c.width);
        EXPECT_EQ(ok, !c.row.empty()) << c.width;
        if (ok) {
            EXPECT_EQ(row, c.row);
        }
    }
}

TEST(SgiImage, ChannelsBecomeRgbaInBothStorages) {
    // Two pixels; the channels hold (10, 20), (30, 40), (50, 60), (70, 80), (90, 99).
    const Bytes planes = {10, 20, 30, 40, 50, 60, 70, 80, 90, 99};
    struct Case {
        int channels;
        Bytes rgba;
    } cases[] = {
        {0, {10, 10, 10, 255, 20, 20, 20, 255}},  // 0 channels read as 1
        {1, {10, 10, 10, 255, 20, 20, 20, 255}}, {2, {10, 10, 10, 30, 20, 20, 20, 40}},
        {3, {10, 30, 50, 255, 20, 40, 60, 255}}, {5, {10, 30, 50, 70, 20, 40, 60, 80}},
    };
    for (const Case& c : cases) {
        for (bool encoded : {false, true}) {
            int stored = std::max(c.channels, 1);
            Bytes file = test::sgiBytes(
                2, 1, c.channels, Bytes(planes.begin(), planes.begin() + 2 * stored), encoded);
            SgiImage image;
            ASSERT_TRUE(decode(file, image)) << c.channels << encoded;
            EXPECT_EQ(image.width, 2);
            EXPECT_EQ(image.channels, stored);
            EXPECT_EQ(pixels(image), c.rgba) << c.channels << " encoded " << encoded;
        }
    }
}

TEST(SgiImage, RefusesBadHeadersAndRowsWithAMessage) {
    const Bytes good = test::sgiBytes(2, 2, 1, {1, 2, 3, 4}, true);
    auto edited = [&](std::size_t offset, std::uint32_t value, int count) {
        Bytes bytes = good;
        test::setBigEndian(bytes, offset, value, count);
        return bytes;
    };
    struct Case {
        const char* what;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"storage 2", edited(2, 2, 1), "unsupported header"},
        {"two bytes a channel", edited(3, 2, 1), "unsupported header"},
        {"width 0", edited(6, 0, 2), "unsupported header"},
        {"height 16385", edited(8, 16385, 2), "unsupported header"},
        {"row start past the end", edited(512, 5000, 4), "unexpected end of file"},
        {"row length past the end", edited(512 + 8, 5000, 4), "unexpected end of file"},
        {"row too short", edited(512 + 8, 2, 4), "encoded row does not fill the image width"},
        {"tables past the end", edited(10, 300, 2), "unexpected end of file"},
        {"verbatim pixels missing", test::sgiBytes(2, 2, 1, {1, 2, 3}, false),
         "unexpected end of file"},
    };
    for (const Case& c : cases) {
        SgiImage image;
        std::string message;
        EXPECT_FALSE(decode(c.bytes, image, &message)) << c.what;
        EXPECT_EQ(message, std::string("Error reading SGI image: ") + c.message + "\n") << c.what;
        EXPECT_EQ(image.rgba, nullptr);
    }
}

TEST(SgiImage, EveryTruncationFailsCleanly) {
    Bytes planes(3 * 4 * 2);
    for (std::size_t i = 0; i < planes.size(); ++i) planes[i] = std::uint8_t(i + 1);
    for (bool encoded : {false, true}) {
        Bytes whole = test::sgiBytes(3, 4, 2, planes, encoded);
        SgiImage image;
        ASSERT_TRUE(decode(whole, image));
        for (std::size_t size = 0; size < whole.size(); ++size) {
            Bytes cut(whole.begin(), whole.begin() + size);
            std::string message;
            ASSERT_FALSE(decode(cut, image, &message)) << size;
            ASSERT_FALSE(message.empty());
        }
    }
}

// The PNM text "P6 w h 255" or "P5 ..." followed by the pixels, rows top-down.
Bytes pnm(bool colour, int width, int height, const Bytes& pixels) {
    std::string head =
        (colour ? "P6 " : "P5 ") + std::to_string(width) + " " + std::to_string(height) + " 255\n";
    Bytes out(head.begin(), head.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

TEST(SgiImage, ReadsImageMagickFilesBottomRowFirst) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    auto dir = test::freshScratchDir("sgi_convert");
    const int width = 5, height = 3;
    for (bool colour : {true, false}) {
        const int channels = colour ? 3 : 1;
        Bytes source(std::size_t(width) * height * channels);
        for (std::size_t i = 0; i < source.size(); ++i) source[i] = std::uint8_t(i * 37 % 251);
        source[0] = source[1] = 7;  // a run for the encoder
        test::writeBytes(dir / "in.pnm", pnm(colour, width, height, source));
        for (const char* compression : {"RLE", "None"}) {
            std::string command = "convert " + (dir / "in.pnm").string() + " -depth 8 -compress " +
                                  compression + " sgi:" + (dir / "out.rgb").string();
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            std::FILE* file = std::fopen((dir / "out.rgb").c_str(), "rb");
            ASSERT_NE(file, nullptr);
            int w = 0, h = 0, c = 0;
            std::unique_ptr<unsigned char[]> rgba(readSgiImage(file, &w, &h, &c));
            std::fclose(file);
            ASSERT_NE(rgba, nullptr) << compression;
            ASSERT_EQ((std::array{w, h, c}), (std::array{width, height, channels}));
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const unsigned char* in =
                        &source[(std::size_t(height - 1 - y) * width + x) * channels];
                    const unsigned char* out = &rgba[(std::size_t(y) * width + x) * 4];
                    Bytes expected = {in[0], in[colour ? 1 : 0], in[colour ? 2 : 0], 255};
                    ASSERT_EQ(Bytes(out, out + 4), expected) << compression << " " << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace demo
