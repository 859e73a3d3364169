#pragma once
// Font files are opened by path, outside the file system's archives. Show data
// comes from a case-insensitive file system, so the path is matched loosely.

#include <cstdio>
#include <vector>

namespace demo {

// Reads the whole file into bytes; false when it cannot be opened.
bool readFileBytes(const char* fileName, std::vector<unsigned char>& bytes);

// Appends what is left of an open file, from its position to its end.
void readToEnd(std::FILE* file, std::vector<unsigned char>& bytes);

}  // namespace demo
