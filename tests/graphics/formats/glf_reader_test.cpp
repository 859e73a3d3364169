// GLF vector fonts read from bytes: symbols and their bounds, hostile files.

#include "graphics/formats/glf_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/font_writers.h"

namespace demo {
namespace {

using test::Bytes;
using test::square;

TEST(GlfReader, ReadsSymbolsAndRefusesMalformedOrTruncatedFonts) {
    const Bytes good = test::glfBytes({square('A'), {'B', {-0.5f, 0, 2, 0, 0, 1}, {2, 1, 0}, {2}}});
    Bytes magic = good;
    magic[2] = 'X';
    test::GlfSymbol farFacet = square('C'), farLineEnd = square('C');
    farFacet.facets[5] = 4;  // four vertices, 0 to 3
    farLineEnd.lineEnds = {4};
    std::vector<std::pair<Bytes, std::string>> cases = {
        {magic, "incorrect file format"},
        {test::glfBytes({square('A'), square('B'), square('A')}), "encountered symbols in font"},
        {test::glfBytes({square('A'), farFacet}), "vertex index out of range"},
        {test::glfBytes({square('A'), farLineEnd}), "vertex index out of range"}};
    for (std::size_t size = 0; size < good.size(); ++size) {
        cases.emplace_back(Bytes(good.begin(), good.begin() + size), "unexpected end of file");
    }
    VectorFont font;
    for (const auto& [bytes, message] : cases) {
        testing::internal::CaptureStdout();
        ASSERT_EQ(parseVectorFont(bytes.data(), bytes.size(), &font), -1) << bytes.size();
        ASSERT_EQ(testing::internal::GetCapturedStdout(),
                  "Error reading font file: " + message + "\n");
        ASSERT_EQ(font.symbols['A'], nullptr);  // symbols read before the fault are not kept
    }
    ASSERT_EQ(parseVectorFont(good.data(), good.size(), &font), 0);
    EXPECT_EQ(font.symbols['B']->maxX, 2.0f);
    EXPECT_EQ(font.symbols['B']->facets, (Bytes{2, 1, 0}));
    EXPECT_EQ(font.symbols['C'], nullptr);
}

}  // namespace
}  // namespace demo
