#pragma once
// Readers of the show script's sections that fill settings: "data",
// "screen" and "music". Each is called after its section word and reads the
// section's block.

#include <limits>
#include <string>

#include "player/event_list.h"

namespace demo {

class AsciiReader;
struct DisplaySettings;

struct MusicSettings {
    std::string file;  // empty: no music
    float startTime = 0.0f;
    float stopTime = std::numeric_limits<float>::max();
};

// "{" directory names "}": each added to the file system.
void readDataSection(AsciiReader& reader);

// width, height, bits, fullscreen, singlebuffer, nocursor; the block is
// optional and settings not named keep their values.
void readScreenSection(AsciiReader& reader, DisplaySettings& settings);

// file, starttime, stoptime and any number of "part name begin tempo".
void readMusicSection(AsciiReader& reader, MusicSettings& music, TimelineParts& parts);

}  // namespace demo
