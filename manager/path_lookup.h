#pragma once
// Show data is authored on case-insensitive file systems: scripts and 3DS
// files name "cwall02.jpg" where the disk holds "CWALL02.jpg".

#include <string>

namespace demo {

// The path with "\" turned into "/". When that does not exist as written,
// each part is matched without regard to (ASCII) case against the entries of
// its folder; the first match is taken. Gives the normalised path unchanged
// when no such match exists.
std::string findPathIgnoringCase(const std::string& path);

// Equal but for the case of ASCII letters.
bool equalIgnoringCase(const std::string& a, const std::string& b);

// Whether name ends in suffix, but for the case of ASCII letters.
bool endsWithIgnoringCase(const std::string& name, const std::string& suffix);

}  // namespace demo
