#pragma once
// The bitmap-font slots: per font an image and a mask texture and 256 display
// lists, one per glyph, that draw its textured quad and move the origin past it.

#include <GL/gl.h>

#include "graphics/formats/bmf_reader.h"

namespace demo {

inline constexpr int kBitmapFontSlots = 256;
inline constexpr float kGlyphGap = 0.001f;

extern unsigned char bitmapFontUsed[kBitmapFontSlots];
extern GLuint bitmapFontImageTexture[kBitmapFontSlots];
extern GLuint bitmapFontMaskTexture[kBitmapFontSlots];
extern GLuint bitmapFontListBase[kBitmapFontSlots];  // glyph c is the list base + c
extern float* bitmapFontWidths[kBitmapFontSlots];    // owned, 256 glyph widths each
extern float bitmapFontMaxHeight[kBitmapFontSlots];
extern int currentBitmapFont;            // -1 for none
extern GlyphRect bitmapGlyphTable[256];  // of the last font loaded

// The slot of the loaded font, which becomes current; -1 when the file does
// not read or there is no free slot.
int loadBitmapFont(const char* fileName);

// Makes slot n current when it holds a font; otherwise nothing changes.
void selectBitmapFont(int n);

// Deletes every loaded font's textures, lists and widths and empties the
// slots (part of initFonts).
void freeBitmapFonts();

}  // namespace demo
