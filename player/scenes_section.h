#pragma once

namespace demo {

class AsciiReader;

// "{" NAME description ... "}", a description being "3DS" "file.3ds": each
// scene made through the scene manager, which keeps it under its own name
// (the file's) without a reference of its own, so that only its users hold
// it; once they have let it go, the next to ask for the file's name loads
// it again. A scene that cannot be loaded, or whose type makes none, is a
// ParseError at the entry's script line. Needs the OpenGL context
// (materials become textures).
void readScenesSection(AsciiReader& reader);

}  // namespace demo
