#pragma once
// Uniquely named temporary files in $TMPDIR, else the system's temporary
// directory.

#include <optional>
#include <string>

namespace demo::platform {

// The directory temporary files go to.
std::string temporaryDirectory();

// Creates a new, empty file named prefix plus a unique suffix and gives its
// path, or null (with errno set) when it cannot be made.
std::optional<std::string> createTemporaryFile(const std::string& prefix);

}  // namespace demo::platform
