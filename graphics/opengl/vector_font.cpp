#include "graphics/opengl/vector_font.h"

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <optional>

#include "graphics/opengl/bitmap_font.h"

namespace demo {

VectorFont* vectorFonts[kFontSlots] = {};
int currentVectorFont = -1;
bool centeredText = false;

namespace {

const VectorFont* currentFont() {
    if (currentVectorFont < 0 || currentVectorFont >= kFontSlots) return nullptr;
    return vectorFonts[currentVectorFont];
}

// The move after text[i], or none.
std::optional<float> advanceAfter(const VectorFont& font, const unsigned char* text,
                                  std::size_t i) {
    const unsigned char c = text[i];
    const VectorSymbol* symbol = font.symbols[c].get();
    if (c == ' ' || symbol == nullptr) return kSpaceAdvance;
    const unsigned char next = text[i + 1];
    if (next == '\0') return std::nullopt;
    if (next == ' ') return kSymbolSpacing;
    const VectorSymbol* following = font.symbols[next].get();
    if (following == nullptr) return std::nullopt;
    return kSymbolSpacing + std::fabs(following->minX) + std::fabs(symbol->maxX);
}

}  // namespace

void initFonts() {
    for (VectorFont*& font : vectorFonts) {
        delete font;
        font = nullptr;
    }
    currentVectorFont = -1;
    centeredText = false;
    freeBitmapFonts();
}

int loadVectorFont(const char* fileName) {
    int slot = 0;
    while (slot < kFontSlots && vectorFonts[slot] != nullptr) ++slot;
    if (slot == kFontSlots) return -1;
    auto font = std::make_unique<VectorFont>();
    if (readVectorFont(fileName, font.get()) != 0) return -1;
    vectorFonts[slot] = font.release();
    currentVectorFont = slot;
    return slot;
}

void selectVectorFont(int n) {
    if (n >= 0 && n < kFontSlots && vectorFonts[n] != nullptr) currentVectorFont = n;
}

void drawSolidSymbol(unsigned char c) {
    const VectorFont* font = currentFont();
    const VectorSymbol* symbol = font != nullptr ? font->symbols[c].get() : nullptr;
    if (symbol == nullptr) return;
    glBegin(GL_TRIANGLES);
    for (std::uint8_t index : symbol->facets) {
        glVertex2f(symbol->vertices[2 * index], symbol->vertices[2 * index + 1]);
    }
    glEnd();
}

void drawVectorString(const char* text, void (*drawChar)(int c)) {
    const VectorFont* font = currentFont();
    if (text == nullptr || *text == '\0' || font == nullptr) return;
    const auto* codes = reinterpret_cast<const unsigned char*>(text);
    glPushMatrix();
    if (centeredText) {
        float length = 0.0f;
        for (std::size_t i = 0; codes[i] != '\0'; ++i)
            length += advanceAfter(*font, codes, i).value_or(0.0f);
        glTranslatef(-0.5f * length, 0.0f, 0.0f);
    } else if (codes[0] != ' ' && font->symbols[codes[0]] != nullptr) {
        glTranslatef(-(1.0f - std::fabs(font->symbols[codes[0]]->minX)), 0.0f, 0.0f);
    }
    for (std::size_t i = 0; codes[i] != '\0'; ++i) {
        if (codes[i] != ' ' && drawChar != nullptr) drawChar(codes[i]);
        if (auto advance = advanceAfter(*font, codes, i)) glTranslatef(*advance, 0.0f, 0.0f);
    }
    glPopMatrix();
}

}  // namespace demo
