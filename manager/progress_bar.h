#pragma once
// The loading bar. Loading is counted in steps (every object a cache creates,
// every declared process); step i shows the fraction of the whole loading
// time that had passed at step i in an earlier run, read from "progress.dat"
// (one byte per step, 255 = all). Generate mode records those fractions
// instead and writes the file at the end of loading.

#include <cstdio>
#include <vector>

#include "manager/singleton.h"

namespace demo {

class ProgressBar : public Singleton {
public:
    // Draws one frame of the bar at the given fraction and presents it.
    // Installed by the window code once a display exists.
    using DrawFunction = void (*)(float fraction);

    static ProgressBar* instance();
    ~ProgressBar() override;

    // Reads the fractions; a missing file is the "Cannot open ..." exception.
    // Clears generate mode.
    void loadTimes(const char* fileName);

    // Generate mode: record times and write them to `output` (opened by the
    // caller before loading, e.g. for "-progress") at end(). The bar takes
    // ownership of the file and closes it.
    void startGenerating(std::FILE* output);

    void begin();
    void step();
    void end();

    void setDisplayReady(bool ready) { displayReady_ = ready; }
    void setDrawFunction(DrawFunction draw) { draw_ = draw; }

    const std::vector<float>& fractions() const { return fractions_; }
    int index() const { return index_; }
    bool generating() const { return generate_; }
    bool active() const { return active_; }
    bool displayReady() const { return displayReady_; }

    // Back to the state of a new bar (tests).
    void reset();

private:
    ProgressBar() = default;

    std::vector<float> fractions_;
    int index_ = 0;
    std::FILE* output_ = nullptr;
    bool generate_ = false;
    bool active_ = false;
    bool displayReady_ = false;
    float start_ = 0.0f;
    DrawFunction draw_ = nullptr;
};

}  // namespace demo
