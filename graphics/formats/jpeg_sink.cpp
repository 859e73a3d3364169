#include "graphics/formats/jpeg_sink.h"

namespace demo {

bool JpegSampleMap::build(const JpegComponent& component, int unitWidth, int unitHeight) {
    if (unitWidth < 8 || unitWidth > 32 || unitHeight < 8 || unitHeight > 32) return false;
    for (int x = 0; x < unitWidth; ++x) {
        int sx = component.h * x * 8 / unitWidth;
        columns[x] = (sx / 8) * 64 + sx % 8;
    }
    for (int y = 0; y < unitHeight; ++y) {
        int sy = component.v * y * 8 / unitHeight;
        rows[y] = (sy / 8) * component.h * 64 + (sy % 8) * 8;
    }
    return true;
}

}  // namespace demo
