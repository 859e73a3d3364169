// GLF vector fonts read from bytes and by path.

#include "graphics/formats/glf_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/font_writers.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

using test::Bytes;

std::string parseMessage(const Bytes& bytes, VectorFont& font, int& result) {
    testing::internal::CaptureStdout();
    result = parseVectorFont(bytes.data(), bytes.size(), &font);
    return testing::internal::GetCapturedStdout();
}

bool hasNoSymbols(const VectorFont& font) {
    for (const auto& symbol : font.symbols) {
        if (symbol) return false;
    }
    return true;
}

TEST(GlfReader, ReadsSymbolsWithTheirBounds) {
    test::GlfSymbol triangle{200, {-0.5f, 0.0f, 1.5f, -2.0f, 0.25f, 3.0f}, {2, 1, 0}, {2}};
    test::GlfSymbol empty{' ', {}, {}, {}};
    Bytes bytes = test::glfBytes({triangle, empty}, "Sans");
    VectorFont font;
    ASSERT_EQ(parseVectorFont(bytes.data(), bytes.size(), &font), 0);
    EXPECT_STREQ(font.name, "Sans");
    EXPECT_EQ(font.symbolCount, 2);
    const VectorSymbol& s = *font.symbols[200];
    EXPECT_EQ(s.vertexCount, 3);
    EXPECT_EQ(s.facetCount, 1);
    EXPECT_EQ(s.lineCount, 1);
    EXPECT_EQ(s.vertices, triangle.vertices);
    EXPECT_EQ(s.facets, triangle.facets);
    EXPECT_EQ(s.lineEnds, triangle.lineEnds);
    EXPECT_EQ((std::array{s.minX, s.maxX, s.minY, s.maxY}), (std::array{-0.5f, 1.5f, -2.0f, 3.0f}));
    const VectorSymbol& blank = *font.symbols[' '];
    EXPECT_EQ((std::array{blank.minX, blank.maxX, blank.minY, blank.maxY}),
              (std::array{10.0f, -10.0f, 10.0f, -10.0f}));
    EXPECT_EQ(font.symbols['A'], nullptr);
}

TEST(GlfReader, RefusesMalformedFontsAndKeepsNoSymbols) {
    Bytes wrongMagic = test::glfBytes({test::squareSymbol('A')});
    wrongMagic[2] = 'X';
    test::GlfSymbol farFacet = test::squareSymbol('B');
    farFacet.facets[5] = 4;  // four vertices: 0 to 3
    test::GlfSymbol farLineEnd = test::squareSymbol('B');
    farLineEnd.lineEnds = {7};
    struct Case {
        const char* what;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"wrong magic", wrongMagic, "incorrect file format"},
        {"code twice",
         test::glfBytes(
             {test::squareSymbol('A'), test::squareSymbol('B'), test::squareSymbol('A')}),
         "encountered symbols in font"},
        {"facet index", test::glfBytes({test::squareSymbol('A'), farFacet}),
         "vertex index out of range"},
        {"line end index", test::glfBytes({test::squareSymbol('A'), farLineEnd}),
         "vertex index out of range"},
        {"empty file", {}, "unexpected end of file"},
    };
    for (const Case& c : cases) {
        VectorFont font;
        int result = 0;
        EXPECT_EQ(parseMessage(c.bytes, font, result),
                  std::string("Error reading font file: ") + c.message + "\n")
            << c.what;
        EXPECT_EQ(result, -1) << c.what;
        EXPECT_TRUE(hasNoSymbols(font)) << c.what;
    }
}

TEST(GlfReader, EveryTruncationIsAnUnexpectedEnd) {
    Bytes whole = test::glfBytes({test::squareSymbol('A'), {'-', {0, 0, 1, 0}, {}, {1}}});
    for (std::size_t size = 0; size < whole.size(); ++size) {
        Bytes cut(whole.begin(), whole.begin() + size);
        VectorFont font;
        int result = 0;
        ASSERT_EQ(parseMessage(cut, font, result),
                  "Error reading font file: unexpected end of file\n")
            << size;
        ASSERT_EQ(result, -1);
    }
}

TEST(GlfReader, OpensByPathIgnoringCaseAndBackslashes) {
    auto dir = test::freshScratchDir("glf_reader");
    std::filesystem::create_directories(dir / "Fonts");
    test::writeBytes(dir / "Fonts" / "Square.GLF", test::glfBytes({test::squareSymbol('A')}));
    VectorFont font;
    std::string loose = dir.string() + "\\fonts\\square.glf";
    ASSERT_EQ(readVectorFont(loose.c_str(), &font), 0);
    EXPECT_NE(font.symbols['A'], nullptr);

    testing::internal::CaptureStdout();
    EXPECT_EQ(readVectorFont((dir / "missing.glf").c_str(), &font), -1);
    EXPECT_EQ(readVectorFont(dir.c_str(), &font), -1);  // a folder is not a font
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
}  // namespace demo
