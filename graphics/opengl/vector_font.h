#pragma once
// The vector-font slots, the current font and text drawing. Text runs along
// +x in font units, each character drawn around the origin of the moving matrix.

#include "graphics/formats/glf_reader.h"

namespace demo {

inline constexpr int kFontSlots = 256;
inline constexpr float kSymbolSpacing = 0.2f;
inline constexpr float kSpaceAdvance = 2.0f;

extern VectorFont* vectorFonts[kFontSlots];  // owned; null for a free slot
extern int currentVectorFont;                // -1 for none
extern bool centeredText;                    // drawVectorString centres on the origin

// Empties the vector and bitmap font slots, freeing what they hold, and
// clears the current fonts and centring. Needs the GL context when bitmap
// fonts are loaded.
void initFonts();

// The slot of the loaded font, which becomes current; -1 when there is no
// free slot or the file does not read.
int loadVectorFont(const char* fileName);

// Makes slot n current when it holds a font; otherwise nothing changes.
void selectVectorFont(int n);

// The triangles of c's symbol in the current font; nothing (and no GL call)
// without a current font or symbol.
void drawSolidSymbol(unsigned char c);

// Calls drawChar with the unsigned code of each character that is not a
// space, moving the matrix along +x between characters.
void drawVectorString(const char* text, void (*drawChar)(int c));

}  // namespace demo
