#pragma once

namespace demo {

class AsciiReader;

// "{" NAME definition ... "}": each texture made through the texture
// manager, which keeps it under its name without a reference of its own,
// so that only its users hold it. A definition the texture code refuses is
// a ParseError at the entry's script line. Needs the OpenGL context.
void readTexturesSection(AsciiReader& reader);

}  // namespace demo
