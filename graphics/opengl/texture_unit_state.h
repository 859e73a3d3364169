#pragma once
// The state of one texture unit in a material: its texture (one reference
// from the texture manager), environment and coordinate generation.

#include <GL/gl.h>

#include <memory>

namespace demo {

class AsciiReader;
class Texture;

class TextureUnitState {
  public:
    TextureUnitState() = default;
    ~TextureUnitState();  // gives the texture's reference back
    TextureUnitState(const TextureUnitState&) = delete;
    TextureUnitState& operator=(const TextureUnitState&) = delete;

    // A "{ name ... }" block; ParseError "Texture name is needed!" without
    // "name". The texture comes from the texture manager (loaded from its
    // file when never declared) unless takeTexture is false.
    static std::unique_ptr<TextureUnitState> parse(AsciiReader& reader, bool takeTexture = true);

    // Binds and enables the texture on the active unit, then sets the
    // environment and the generation of S, T, R and Q.
    void apply() const;

    Texture* texture = nullptr;
    GLint envMode = GL_REPLACE;
    GLfloat envColour[4] = {1, 1, 1, 1};
    GLint genMode[4] = {0, 0, 0, 0};  // S, T, R, Q; 0 = off
    GLfloat planes[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}};
};

// Enables target on the active unit and disables the targets that would
// take precedence over it.
void enableTextureTarget(GLenum target);
// Disables every texture target on the active unit.
void disableTextureTargets();

}  // namespace demo
