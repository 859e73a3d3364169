#pragma once
// Asks the system to back a large, page-aligned work array with large pages.

#include <cstddef>

namespace demo::platform {

// Advice only: nothing happens where the system has no such pages.
void adviseLargePages(void* memory, std::size_t bytes);

}  // namespace demo::platform
