// The GLF, BMF and SGI readers from bytes: channel layouts, every hostile or
// truncated file, and ImageMagick's SGI files as an independent check. GLF
// symbols are read back through the vector font's tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "graphics/formats/bmf_reader.h"
#include "graphics/formats/glf_reader.h"
#include "graphics/formats/sgi_image_reader.h"
#include "tests/support/font_writers.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

using test::Bytes;
using test::square;

Bytes firstPixels(const unsigned char* rgba, int count) { return Bytes(rgba, rgba + 4 * count); }

TEST(FontReaders, ChannelsRowsAndFontMasks) {
    const Bytes planes = {10, 20, 30, 40, 50, 60, 70, 80, 90, 99};  // two pixels a channel
    const std::pair<int, Bytes> layouts[] = {  // 0 channels read as 1; a fifth is not read
        {0, {10, 10, 10, 255, 20, 20, 20, 255}}, {2, {10, 10, 10, 30, 20, 20, 20, 40}},
        {3, {10, 30, 50, 255, 20, 40, 60, 255}}, {4, {10, 30, 50, 70, 20, 40, 60, 80}},
        {5, {10, 30, 50, 70, 20, 40, 60, 80}}};
    for (const auto& [channels, pixels] : layouts) {
        for (bool encoded : {false, true}) {
            Bytes file = test::sgiBytes(2, 1, channels, planes, encoded);
            SgiImage image;
            ASSERT_TRUE(decodeSgiImage(file.data(), file.size(), 0, image)) << channels << encoded;
            EXPECT_EQ(firstPixels(image.rgba.get(), 2), pixels) << channels << encoded;
        }
    }
    const Bytes row = {0x83, 1, 2, 3, 0x02, 9, 0x00};
    Bytes out(6);
    EXPECT_TRUE(decodeSgiRow(row.data(), row.size(), out.data(), 5));
    EXPECT_EQ(out, (Bytes{1, 2, 3, 9, 9, 0}));
    EXPECT_FALSE(decodeSgiRow(row.data(), row.size(), out.data(), 4));      // overrun
    EXPECT_FALSE(decodeSgiRow(row.data(), row.size() - 2, out.data(), 5));  // repeat, no byte

    const Bytes bmf = test::bmfBytes({}, test::sgiBytes(2, 1, 1, {0, 200}, true));
    BitmapFontFile bitmap;
    ASSERT_EQ(parseBitmapFont(bmf.data(), bmf.size(), bitmap), 0);
    auto mask = makeFontMask(bitmap.image.rgba.get(), 2, 1);
    EXPECT_EQ(firstPixels(mask.get(), 2), (Bytes{255, 255, 255, 0, 0, 0, 0, 0}));
}

// Each refusal prints one line: "Error reading " + the message.
TEST(FontReaders, RefuseEveryMalformedOrTruncatedFileWithOneLine) {
    enum Reader { kGlf, kBmf, kSgi };
    const Bytes glf = test::glfBytes({square('A'), square('B')});
    const Bytes sgi = test::sgiBytes(2, 2, 1, {1, 2, 3, 4}, true);
    Bytes magic = glf;
    magic[2] = 'X';
    test::GlfSymbol farFacet = square('C');
    farFacet.facets[5] = 4;  // four vertices, 0 to 3
    std::vector<std::tuple<Reader, Bytes, std::string>> cases = {
        {kGlf, magic, "font file: incorrect file format"},
        {kGlf, test::glfBytes({square('A'), square('B'), square('A')}),
         "font file: encountered symbols in font"},
        {kGlf, test::glfBytes({square('A'), farFacet}), "font file: vertex index out of range"},
        {kBmf, Bytes{'G', 'L', 'F', 0}, ""}};  // not a bitmap font: silent
    for (auto [at, value, count, message] :
         {std::tuple{8, 16385, 2, "unsupported header"}, {512, 5000, 4, "unexpected end of file"},
          {520, 2, 4, "encoded row does not fill the image width"}}) {
        cases.emplace_back(kSgi, sgi, std::string("SGI image: ") + message);
        test::setBigEndian(std::get<1>(cases.back()), at, value, count);
    }
    const std::size_t bmfHeader = 99 + sizeof(std::array<GlyphRect, 256>);
    for (auto [reader, whole] : {std::pair{kGlf, glf}, {kSgi, sgi}, {kBmf, test::bmfBytes({}, sgi)},
                                 {kSgi, test::sgiBytes(3, 2, 2, Bytes(12, 7), false)}}) {
        for (std::size_t size = 0; size < whole.size(); ++size) {
            bool font = reader == kGlf || (reader == kBmf && size < bmfHeader);
            cases.emplace_back(
                reader, Bytes(whole.begin(), whole.begin() + size),
                font ? "font file: unexpected end of file" : "SGI image: unexpected end of file");
        }
    }
    for (const auto& [reader, bytes, message] : cases) {
        VectorFont font;
        BitmapFontFile bitmap;
        SgiImage image;
        testing::internal::CaptureStdout();
        bool read = reader == kGlf   ? parseVectorFont(bytes.data(), bytes.size(), &font) == 0
                    : reader == kBmf ? parseBitmapFont(bytes.data(), bytes.size(), bitmap) == 0
                                     : decodeSgiImage(bytes.data(), bytes.size(), 0, image);
        ASSERT_FALSE(read) << message << " " << bytes.size();
        ASSERT_EQ(testing::internal::GetCapturedStdout(),
                  message.empty() ? "" : "Error reading " + message + "\n")
            << bytes.size();
        ASSERT_EQ(font.symbols['A'], nullptr);  // symbols read before the fault are not kept
    }
}

TEST(FontReaders, ReadsImageMagickSgiFilesBottomRowFirst) {
    if (std::system("command -v convert >/dev/null") != 0) GTEST_SKIP() << "no ImageMagick";
    auto dir = test::freshScratchDir("sgi_convert");
    Bytes ppm = {'P', '6', ' ', '5', ' ', '3', ' ', '2', '5', '5', '\n'};
    for (int i = 0; i < 45; ++i) ppm.push_back(i < 6 ? 7 : std::uint8_t(i * 37));  // a run first
    test::writeBytes(dir / "in.ppm", ppm);
    for (std::string compression : {"RLE", "None"}) {
        std::string command = "convert " + (dir / "in.ppm").string() + " -depth 8 -compress " +
                              compression + " sgi:" + (dir / "out.rgb").string();
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::FILE* file = std::fopen((dir / "out.rgb").c_str(), "rb");
        int w = 0, h = 0, c = 0;
        std::unique_ptr<unsigned char[]> rgba(readSgiImage(file, &w, &h, &c));
        std::fclose(file);
        ASSERT_EQ((std::array{w, h, c, int(rgba != nullptr)}), (std::array{5, 3, 3, 1}));
        for (int i = 0; i < 15; ++i) {  // the file's first row is the picture's last
            const unsigned char* in = &ppm[11 + ((2 - i / 5) * 5 + i % 5) * 3];
            EXPECT_EQ(firstPixels(&rgba[4 * i], 1), (Bytes{in[0], in[1], in[2], 255})) << i;
        }
    }
}

}  // namespace
}  // namespace demo
