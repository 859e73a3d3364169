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

// The other tabulated messages are checked where they are thrown; zlib's
// failure cannot be provoked, and script line 0 and an empty name are edges.
TEST(Exceptions, PrintTheTabulatedUnitLineAndMessageWithoutLineEnd) {
    using namespace source;
    EXPECT_EQ(
        printed(ExceptionBase("Cannot init zlib.", kCannotInitZlib.unit, kCannotInitZlib.line)),
        "manager/fileio L113: Cannot init zlib.");
    EXPECT_EQ(printed(ParseError("x", "s", 0, kUnknownProcessType.unit, kUnknownProcessType.line)),
              "manager/process L34: Parse error (s 0 ): x");
    EXPECT_EQ(ResourceMissing("", "u", 1).message(), "Cannot obtain ''.");
}

}  // namespace
}  // namespace demo
