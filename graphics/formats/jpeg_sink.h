#pragma once
// What the JPEG decoder hands its output to: the frame's components with
// their decoded sample blocks, one unit (MCU) at a time.

#include <cstdint>
#include <string>

namespace demo {

// One frame component. A sample block is 64 signed samples, row-major,
// centred at 0 (the sink adds 128). Block (by, bx) of a unit is number
// by * h + bx.
struct JpegComponent {
    int id = 0;
    int v = 1;  // vertical sampling factor
    int h = 1;  // horizontal sampling factor
    int quantTable = 0;
    int acTable = 0;
    int dcTable = 0;
    std::int32_t* blocks = nullptr;  // h * v blocks of 64 samples
    std::int32_t predictor = 0;      // DC predictor
};

class JpegSink {
public:
    // Once, after the headers. A unit is unitWidth x unitHeight pixels
    // (8 x the largest h, 8 x the largest v). False refuses the image and
    // stops the decode; the decoder then prints refusal().
    virtual bool begin(int width, int height, const JpegComponent* components, int count,
                       int unitWidth, int unitHeight) = 0;
    // After each unit; (x, y) is the unit's top-left pixel.
    virtual void write(const JpegComponent* components, int count, int x, int y, int unitWidth,
                       int unitHeight) = 0;
    virtual ~JpegSink() = default;

    // Why begin() refused the image; empty when it did not say.
    const std::string& refusal() const { return refusal_; }

protected:
    bool refuse(const char* why) {
        refusal_ = why;
        return false;
    }

private:
    std::string refusal_;
};

// Where a unit pixel finds its sample in a component's blocks, by nearest
// sample: the sample of pixel (x, y) is blocks[rows[y] + columns[x]].
struct JpegSampleMap {
    // False when a table cannot be made (sizes out of range).
    bool build(const JpegComponent& component, int unitWidth, int unitHeight);

    int rows[32] = {};
    int columns[32] = {};
};

}  // namespace demo
