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

TEST(Exceptions, PrintTheTabulatedUnitLineAndMessageWithoutLineEnd) {
    using namespace source;
    EXPECT_EQ(printed(ParseError("Number was expected here.", "demo.ini", 12, kNumberExpected.unit,
                                 kNumberExpected.line)),
              "manager/ascii_reader L142: Parse error (demo.ini 12 ): Number was expected here.");
    EXPECT_EQ(printed(ResourceMissing("tex.jpg", kResourceMissing.unit, kResourceMissing.line)),
              "manager/fileio L19: Cannot obtain 'tex.jpg'.");
    EXPECT_EQ(
        printed(ExceptionBase("Cannot init zlib.", kCannotInitZlib.unit, kCannotInitZlib.line)),
        "manager/fileio L113: Cannot init zlib.");
    EXPECT_EQ(printed(ExceptionBase("Data is corrupted", kDataCorrupted.unit, kDataCorrupted.line)),
              "manager/fileio L126: Data is corrupted");
    EXPECT_EQ(printed(ParseError("x", "s", 0, kUnknownProcessType.unit, kUnknownProcessType.line)),
              "manager/process L34: Parse error (s 0 ): x");
    EXPECT_EQ(printed(ExceptionBase("m", kProgressFileMissing.unit, kProgressFileMissing.line)),
              "manager/progress_bar L108: m");
    EXPECT_EQ(ResourceMissing("", "u", 1).message(), "Cannot obtain ''.");
}

}  // namespace
}  // namespace demo
