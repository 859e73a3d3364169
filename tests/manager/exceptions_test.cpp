#include "manager/exceptions.h"

#include <gtest/gtest.h>

#include <sstream>

#include "manager/source_location.h"

namespace demo {
namespace {

std::string printed(const ExceptionBase& e) {
    std::ostringstream out;
    e.print(out);
    return out.str();
}

TEST(Exceptions, PrintsUnitLineAndMessageWithoutLineEnd) {
    ParseError e("Number was expected here.", "demo.ini", 12, source::kNumberExpected.unit,
                 source::kNumberExpected.line);
    EXPECT_EQ(printed(e),
              "manager/ascii_reader L142: Parse error (demo.ini 12 ): Number was expected here.");
    EXPECT_EQ(e.text(), "Number was expected here.");
    EXPECT_EQ(e.scriptName(), "demo.ini");
    EXPECT_EQ(e.scriptLine(), 12);

    ParseError atZero("x", "s", 0, "u", 1);
    EXPECT_EQ(atZero.message(), "Parse error (s 0 ): x");
}

TEST(Exceptions, ResourceMissingNamesTheResource) {
    ResourceMissing e("tex.jpg", source::kResourceMissing.unit, source::kResourceMissing.line);
    EXPECT_EQ(printed(e), "manager/fileio L19: Cannot obtain 'tex.jpg'.");
    EXPECT_EQ(ResourceMissing("", "u", 1).message(), "Cannot obtain ''.");
}

TEST(Exceptions, CopiesKeepEveryFieldAndCatchByBase) {
    try {
        throw BinaryReaderException("Unexpected end of file.", source::kBinaryReadPastEnd.unit,
                                    source::kBinaryReadPastEnd.line);
    } catch (const ExceptionBase& e) {
        EXPECT_EQ(printed(e), "manager/binary_reader L29: Unexpected end of file.");
    }
    InitGLException gl("Failed");
    InitGLException copy = gl;
    EXPECT_STREQ(copy.message(), "Failed");
}

}  // namespace
}  // namespace demo
