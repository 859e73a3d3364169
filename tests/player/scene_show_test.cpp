// A show that loads a 3DS scene in its scenes section and plays it through an
// effect, defined here, that draws the scene each frame and reads it back.

#include <GL/glu.h>

#include <filesystem>
#include <fstream>

#include "graphics/opengl/camera.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/render_batch.h"
#include "graphics/opengl/scene_instance.h"
#include "graphics/scene_manager.h"
#include "manager/ascii_reader.h"
#include "manager/file_system.h"
#include "manager/parameters.h"
#include "manager/process.h"
#include "manager/progress_bar.h"
#include "player/demo_player.h"
#include "tests/support/cube_3ds.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/show_test_host.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

// Where the scene's pixels were, frame after frame: the mean column, or -1.
std::vector<double>& columns() {
    static std::vector<double> seen;
    return seen;
}

class SceneView : public Process {
  public:
    SceneView(const std::string& name, ProcessType* type, AsciiReader& reader) : Process(name, type) {
        std::string file;
        ParameterDesc table[] = {{"scene", PARAM_STRING, &file, nullptr}, {nullptr, PARAM_END, nullptr, nullptr}};
        reader.readParameters(table);
        scene_ = SceneManager::instance()->get(file);
        instance_ = std::make_unique<SceneInstance>(scene_, GLState::instance());
        batch_ = instance_->makeBatchExcept({});
        instance_->classifyObjects();
    }
    ~SceneView() override { SceneManager::instance()->release(scene_); }

    void run(float t) override {
        glViewport(0, 0, 128, 96);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45, 4.0 / 3.0, 0.1, 10000);
        glScalef(1, 1, -1);
        glMatrixMode(GL_MODELVIEW);
        Camera& eye = *instance_->cameras.at(0);
        eye.apply(t);
        eye.transform.updateMatrices();
        glLoadMatrixf(eye.transform.inverseMatrix());
        instance_->setTime(t);
        instance_->applyLights();
        batch_->draw();
        std::vector<unsigned char> rgb(128 * 96 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 128, 96, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        double sum = 0, count = 0;
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            if (rgb[i] + rgb[i + 1] + rgb[i + 2] > 30) sum += double(i / 3 % 128), ++count;
        }
        columns().push_back(count > 0 ? sum / count : -1);
    }
    void handleEvent(Event*) override {}

  private:
    Scene* scene_;
    std::unique_ptr<SceneInstance> instance_;
    std::unique_ptr<RenderBatch> batch_;
};

ProcessRegistrar<SceneView> sceneViewType("sceneview");

class SceneShowTest : public test::HeadlessGLTest {};

TEST_F(SceneShowTest, TheScenesSectionFeedsAnEffectThatDrawsIt) {
    namespace fs = std::filesystem;
    fs::path previous = fs::current_path();
    fs::current_path(test::freshScratchDir("scene_show"));
    std::ofstream("progress.dat");
    ProgressBar::instance()->reset();
    // The cube goes right across the picture from frame 0 to frame 10.
    const test::Bytes cube = test::cube3DS({1, 0, 0}, {{0, {-3, 0, 0}}, {10, {5, 0, 0}}});
    std::ofstream("Cube.3DS", std::ios::binary).write(reinterpret_cast<const char*>(cube.data()), long(cube.size()));
    std::ofstream("show.ini") << "scenes\n{\n  cube \"3DS\" \"cube.3ds\"\n}\n"
                                 "processes { view sceneview { scene \"cube.3ds\" } }\n"
                                 "events { { 0 view START 0 } }\nend\n";
    FileSystem::instance()->addDirectory(".");
    test::TestHost host;
    host.times = {0, 5, 10};
    {
        DemoPlayer player(host, {});
        player.load("show.ini");
        EXPECT_EQ(1, SceneManager::instance()->objects().at("cube.3ds")->referenceCount);  // the view's
        player.play();
    }
    ASSERT_EQ(3u, columns().size());
    EXPECT_GT(columns()[0], 0);
    EXPECT_GT(columns()[1], columns()[0] + 10);
    EXPECT_GT(columns()[2], columns()[1] + 10);
    EXPECT_TRUE(SceneManager::instance()->objects().empty());  // the view released it
    fs::current_path(previous);
}

}  // namespace
}  // namespace demo
