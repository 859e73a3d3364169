// Drawing a 128 x 128 sky plane (32,768 triangles) each frame on the headless
// context: from client arrays through the dynamic commands, against the same
// commands compiled once into a batch's display list. The ratio is compiled
// over dynamic.

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "bench/bench_report.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/render_batch.h"
#include "graphics/scene_object.h"
#include "graphics/sky_plane.h"
#include "manager/window.h"

namespace {

void drawFrames(benchmark::State& state, bool compiled) {
    demo::SceneObject sky("SkyPlane");
    demo::buildSkyPlaneMesh(sky, 128, 0, 10, 1, 1);
    sky.dynamic = true;
    demo::GLState* context = demo::GLState::instance();
    demo::RenderCommandList list;
    demo::queueObject(list, sky, *context);
    demo::RenderBatch batch(context, list);
    if (compiled) batch.compile();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        batch.draw();
        glFinish();
    }
}

void dynamicArrays(benchmark::State& state) { drawFrames(state, false); }
void compiledBatch(benchmark::State& state) { drawFrames(state, true); }

BENCHMARK(dynamicArrays)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(compiledBatch)->Unit(benchmark::kMicrosecond)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    demo::DisplaySettings settings;
    settings.width = 256;
    settings.height = 256;
    demo::DisplayPair display;
    demo::createDisplay(settings, display);
    demo::GLState::instance();
    glDisable(GL_CULL_FACE);  // the bowl is seen from inside
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0, 0, 20);  // the bowl in front of the 45-degree view
    demo::bench::BestTimes best = demo::bench::runBenchmarks();
    const double dynamic = best["dynamicArrays"], compiled = best["compiledBatch"];
    std::printf("dynamic: %.0f us/frame, compiled: %.0f us/frame\n", dynamic, compiled);
    demo::bench::printRatio(compiled / dynamic, 3);
    demo::destroyDisplay(display);
}
