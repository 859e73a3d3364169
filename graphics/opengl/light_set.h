#pragma once
// The fixed-function lights of a script "light" block: one slot per OpenGL
// light, each empty (disabled) or holding the parameters of one light.

#include <memory>
#include <vector>

namespace demo {

class AsciiReader;

struct LightParams {
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {1, 1, 1, 1};
    float specular[4] = {1, 1, 1, 1};
    float position[4] = {0, 0, 1, 0};
    float spotDirection[3] = {0, 0, -1};
    float spotExponent = 0;
    float spotCutoff = 180;
    float attenuation[3] = {1, 0, 0};  // constant, linear, quadratic

    // Keys "ambient", "diffuse", "specular", "position" (four numbers),
    // "spot_direction" (three), "spot_exponent", "spot_cutoff",
    // "attenuation0" .. "attenuation2"; the rest keep their defaults.
    static std::unique_ptr<LightParams> parse(AsciiReader& reader);
    // Sends everything to GL_LIGHT0 + index, in the current modelview.
    void apply(int index) const;
};

class LightSet {
  public:
    // As many empty slots as the driver has lights.
    LightSet();

    // A block of "light N { ... }" entries. A later entry for the same N
    // replaces the earlier one; numbers beyond the driver's lights are
    // dropped with one line on standard output.
    static std::unique_ptr<LightSet> parse(AsciiReader& reader);

    // Enables and sets the filled slots, disables the empty ones.
    void apply() const;

    std::vector<std::unique_ptr<LightParams>> lights;
};

}  // namespace demo
