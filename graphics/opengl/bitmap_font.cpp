#include "graphics/opengl/bitmap_font.h"

#include <memory>
#include <vector>

#include "graphics/formats/file_bytes.h"

namespace demo {

unsigned char bitmapFontUsed[kBitmapFontSlots] = {};
GLuint bitmapFontImageTexture[kBitmapFontSlots] = {};
GLuint bitmapFontMaskTexture[kBitmapFontSlots] = {};
GLuint bitmapFontListBase[kBitmapFontSlots] = {};
float* bitmapFontWidths[kBitmapFontSlots] = {};
float bitmapFontMaxHeight[kBitmapFontSlots] = {};
int currentBitmapFont = -1;
GlyphRect bitmapGlyphTable[256] = {};

namespace {

// Three internal components: the alpha of the pixels is dropped.
void uploadTexture(GLuint texture, int width, int height, const unsigned char* pixels) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void compileGlyph(GLuint list, const GlyphRect& g) {
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    glTexCoord2f(g.u, g.v);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(g.u + g.w, g.v);
    glVertex2f(g.w, 0.0f);
    glTexCoord2f(g.u + g.w, g.v + g.h);
    glVertex2f(g.w, g.h);
    glTexCoord2f(g.u, g.v + g.h);
    glVertex2f(0.0f, g.h);
    glEnd();
    glTranslatef(g.w + kGlyphGap, 0.0f, 0.0f);
    glEndList();
}

}  // namespace

int loadBitmapFont(const char* fileName) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(fileName, bytes)) return -1;
    auto file = std::make_unique<BitmapFontFile>();
    if (parseBitmapFont(bytes.data(), bytes.size(), *file) != 0) return -1;
    bytes = {};
    auto widths = std::make_unique<float[]>(256);
    for (int c = 0; c < 256; ++c) {
        bitmapGlyphTable[c] = file->glyphs[c];
        widths[c] = file->glyphs[c].w;
    }
    const SgiImage& image = file->image;
    auto mask = makeFontMask(image.rgba.get(), image.width, image.height);

    int slot = 0;
    while (slot < kBitmapFontSlots && bitmapFontUsed[slot] != 0) ++slot;
    if (slot == kBitmapFontSlots) return -1;
    bitmapFontUsed[slot] = 1;
    currentBitmapFont = slot;
    bitmapFontWidths[slot] = widths.release();

    glGenTextures(1, &bitmapFontImageTexture[slot]);
    glGenTextures(1, &bitmapFontMaskTexture[slot]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    uploadTexture(bitmapFontImageTexture[slot], image.width, image.height, image.rgba.get());
    uploadTexture(bitmapFontMaskTexture[slot], image.width, image.height, mask.get());

    const GLuint base = glGenLists(256);
    bitmapFontListBase[slot] = base;
    bitmapFontMaxHeight[slot] = 0.0f;
    for (int c = 0; c < 256; ++c) {
        compileGlyph(base + c, file->glyphs[c]);
        if (file->glyphs[c].h > bitmapFontMaxHeight[slot]) {
            bitmapFontMaxHeight[slot] = file->glyphs[c].h;
        }
    }
    return slot;
}

void selectBitmapFont(int n) {
    if (n >= 0 && n < kBitmapFontSlots && bitmapFontUsed[n] != 0) currentBitmapFont = n;
}

void freeBitmapFonts() {
    for (int slot = 0; slot < kBitmapFontSlots; ++slot) {
        if (bitmapFontUsed[slot] != 0) {
            glDeleteTextures(1, &bitmapFontImageTexture[slot]);
            glDeleteTextures(1, &bitmapFontMaskTexture[slot]);
            glDeleteLists(bitmapFontListBase[slot], 256);
        }
        delete[] bitmapFontWidths[slot];
        bitmapFontWidths[slot] = nullptr;
        bitmapFontUsed[slot] = 0;
        bitmapFontImageTexture[slot] = bitmapFontMaskTexture[slot] = bitmapFontListBase[slot] = 0;
        bitmapFontMaxHeight[slot] = 0.0f;
    }
    currentBitmapFont = -1;
}

}  // namespace demo
