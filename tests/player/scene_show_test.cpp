// A show loads a 3DS cube in its scenes section and plays it through an
// effect, defined here, that draws it through a SceneInstance each frame and
// reads the picture back. The oracle: the file's cube drawn right-handed, as
// stored, with gluLookAt and up +z. An entry whose type makes no scene is
// refused at its line.

#include <GL/glu.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "graphics/formats/chunk_3ds.h"
#include "graphics/opengl/camera.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/render_batch.h"
#include "graphics/opengl/scene_instance.h"
#include "graphics/opengl/scene_manager.h"
#include "graphics/opengl/texture_manager.h"
#include "manager/ascii_reader.h"
#include "manager/file_system.h"
#include "manager/process.h"
#include "manager/progress_bar.h"
#include "player/demo_player.h"
#include "player/scenes_section.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/show_test_host.h"
#include "tests/support/texture_fixture.h"
#include "tests/support/writer_3ds.h"

namespace demo {
namespace {

using W = test::Writer3DS;
namespace id = chunk3ds;
using Box = std::array<double, 6>;  // x0, y0, x1, y1 and the centroid of the drawn pixels

constexpr float kEye[3] = {3, -12, 4}, kTarget[3] = {1, 0, 0};
// Corner i is (±1, ±1, ±1) by bits 0, 1, 2; counter-clockwise from outside.
constexpr int kQuads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};

std::array<float, 3> corner(const std::array<float, 3>& centre, int i) {
    return {centre[0] + (i & 1 ? 1.0f : -1.0f), centre[1] + (i & 2 ? 1.0f : -1.0f), centre[2] + (i & 4 ? 1.0f : -1.0f)};
}

// The cube about `centre` (its TRMATRIX origin) moved by position keys, a
// material with a texture map and one whose map is missing, a camera and a light.
test::Bytes cube3DS(const std::array<float, 3>& centre, const std::vector<std::pair<std::uint32_t, std::vector<float>>>& keys) {
    W vertices = W(id::kVertList).u16(8), faces = W(id::kFaceList).u16(12);
    for (int i = 0; i < 8; ++i) vertices.vec(corner(centre, i)[0], corner(centre, i)[1], corner(centre, i)[2]);
    for (const auto& q : kQuads) {
        faces.u16(std::uint16_t(q[0])).u16(std::uint16_t(q[1])).u16(std::uint16_t(q[2])).u16(0);
        faces.u16(std::uint16_t(q[0])).u16(std::uint16_t(q[2])).u16(std::uint16_t(q[3])).u16(0);
    }
    faces.add(W(id::kFaceMat).text("paint").u16(0));
    W matrix = W(id::kTrMatrix).vec(1, 0, 0).vec(0, 1, 0).vec(0, 0, 1).vec(centre[0], centre[1], centre[2]);
    W objects(id::kObjMesh);
    for (int i = 0; i < 3; ++i)  // the later materials of the name replace the earlier
        objects.add(W(id::kMaterial).add(W(id::kMatName).text("paint")).add(W(id::kTexture).add(W(id::kMapFile).text("RED.JPG"))));
    objects.add(W(id::kMaterial).add(W(id::kMatName).text("moss")).add(W(id::kTexture).add(W(id::kMapFile).text("Moss.JPG"))));
    objects.add(W(id::kObjBlock).text("cube").add(W(id::kTriMesh).add(vertices).add(faces).add(matrix)));
    objects.add(W(id::kObjBlock).text("eye").add(W(id::kCamera).vec(kEye[0], kEye[1], kEye[2]).vec(kTarget[0], kTarget[1], kTarget[2]).f32(0).f32(35)));
    objects.add(W(id::kObjBlock).text("sun").add(W(id::kLight).vec(2, -10, 10).add(W(id::kRgbF).vec(1, 1, 1))));
    W node = W(id::kTrackInfo).add(W(id::kTrackObjName).text("cube").u32(0).u16(0xFFFF)).add(test::track(id::kTrackPos, keys));
    return W(id::kMain).add(objects).add(W(id::kKeyframer).add(node)).bytes();
}

// In a 4:3 viewport (the projection's) cleared to blue.
Box drawnPixels() {
    std::vector<unsigned char> rgba(128 * 96 * 4);
    glReadPixels(0, 0, 128, 96, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    Box b{1e9, 1e9, -1e9, -1e9, 0, 0};
    int n = 0;
    for (int i = 0; i < 128 * 96; ++i) {
        if (rgba[std::size_t(i) * 4] == 0 && rgba[std::size_t(i) * 4 + 2] == 255) continue;
        const double x = i % 128, y = i / 128;
        b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x + 1), std::max(b[3], y + 1), b[4] + x + 0.5, b[5] + y + 0.5};
        ++n;
    }
    b[4] /= n, b[5] /= n;
    return b;
}

void clearFrame() {
    glViewport(0, 0, 128, 96);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 4.0 / 3.0, 0.1, 10000);
}

std::vector<Box> drawn;  // by the effect, frame after frame

// Draws like a camera effect: the first camera's frame as the view, the
// projection mirrored in z.
class SceneView : public Process {
  public:
    SceneView(const std::string& name, ProcessType* type, AsciiReader&) : Process(name, type) {
        scene_ = SceneManager::instance()->get("cube.3ds");
        instance_ = std::make_unique<SceneInstance>(scene_, GLState::instance());
        batch_ = instance_->makeBatchExcept({});  // not compiled: it moves
        instance_->classifyObjects();
    }
    ~SceneView() override { SceneManager::instance()->release(scene_); }

    void run(float t) override {
        clearFrame();
        glScalef(1, 1, -1);
        glMatrixMode(GL_MODELVIEW);
        Camera& eye = *instance_->cameras.at(0);
        eye.apply(t);
        eye.transform.updateMatrices();
        glLoadMatrixf(eye.transform.inverseMatrix());
        instance_->setTime(t);
        instance_->applyLights();
        batch_->draw();
        drawn.push_back(drawnPixels());
    }

  private:
    Scene* scene_;
    std::unique_ptr<SceneInstance> instance_;
    std::unique_ptr<RenderBatch> batch_;
};

ProcessRegistrar<SceneView> sceneViewType("sceneview");

// The reference picture.
Box rightHandedCube(const std::array<float, 3>& at) {
    clearFrame();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(kEye[0], kEye[1], kEye[2], kTarget[0], kTarget[1], kTarget[2], 0, 0, 1);
    glDisable(GL_LIGHTING);
    glBegin(GL_QUADS);
    for (const auto& quad : kQuads) {
        for (int i : quad) glVertex3fv(corner(at, i).data());
    }
    glEnd();
    return drawnPixels();
}

class SceneShowTest : public test::HeadlessGLTest {};

TEST_F(SceneShowTest, TheScenesSectionsCubeLandsWhereTheRightHandedFileIs) {
    namespace fs = std::filesystem;
    fs::path previous = fs::current_path();
    fs::current_path(test::freshScratchDir("scene_show"));
    fs::copy_file(fs::path(__FILE__).parent_path() / "../data/red.jpg", "red.jpg");
    std::ofstream("progress.dat");
    ProgressBar::instance()->reset();
    const test::Bytes cube = cube3DS({1, 0, 0}, {{0, {1, 0, 0}}, {5, {2, 1, 0.5f}}, {10, {3, 2, 1}}});
    // The script asks for the file in another case.
    std::ofstream("Cube.3DS", std::ios::binary).write(reinterpret_cast<const char*>(cube.data()), long(cube.size()));
    std::ofstream("show.ini") << "scenes\n{\n  cube \"3DS\" \"cube.3ds\"\n}\n"
                                 "processes { view sceneview }\n"
                                 "events { { 0 view START 0 } }\nend\n";
    FileSystem::instance()->addDirectory(".");
    test::TestHost host;
    host.times = {0, 5, 10};
    {
        DemoPlayer player(host, {});
        ::testing::internal::CaptureStdout();  // up to the end of the loads below
        player.load("show.ini");
        EXPECT_EQ(1, SceneManager::instance()->objects().at("cube.3ds")->refCount);  // the view's
        player.play();
    }
    EXPECT_TRUE(SceneManager::instance()->objects().empty());  // the view released it

    // Asked for again, under its file's name (read as 3DS) and under a
    // description's, and let go in every order with what is made of it:
    // nothing outlives its last holder.
    std::ofstream("cube-scene") << "\"3DS\" \"cube.3ds\"";
    SceneManager* manager = SceneManager::instance();
    const auto& textures = TextureManager::instance()->objects();
    std::array<int, 4> order{0, 1, 2, 3};  // instance, batch, clone, scene
    int round = 0;
    do {
        Scene* scene = manager->get(round++ % 2 ? "cube.3ds" : "cube-scene");
        ASSERT_EQ(1, textures.at("paint")->referenceCount);  // the mesh's
        auto instance = std::make_unique<SceneInstance>(scene, GLState::instance());
        auto batch = instance->makeObjectBatch("cube");
        batch->compile();
        auto clone = scene->findObject("cube")->cloneDeep();
        for (int step : order) {
            if (step == 0) instance->setTime(1), instance.reset();
            if (step == 1) batch->draw(), batch.reset();
            if (step == 2) clone->advanceTree(), clone.reset();
            if (step == 3) manager->release(std::exchange(scene, nullptr));
        }
        EXPECT_TRUE(manager->objects().empty() && textures.count("paint") == 0);
    } while (std::next_permutation(order.begin(), order.end()));
    // Each load notes the missing map, and the scene plays on without it.
    EXPECT_THAT(::testing::internal::GetCapturedStdout(), ::testing::StartsWith("cube.3ds: material 'moss': texture map 'moss.jpg' not found.\n"));
    fs::current_path(previous);

    ASSERT_EQ(3u, drawn.size());
    const std::array<float, 3> expected[] = {{1, 0, 0}, {2, 1, 0.5f}, {3, 2, 1}};
    for (int frame = 0; frame < 3; ++frame) {
        const Box reference = rightHandedCube(expected[frame]);
        for (int k = 0; k < 6; ++k) EXPECT_NEAR(drawn[std::size_t(frame)][std::size_t(k)], reference[std::size_t(k)], 1.5) << frame << " " << k;
    }
}

struct NothingCreator : SceneCreator {
    Scene* create(const std::string&, AsciiReader&) override { return nullptr; }
    std::string name() const override { return "Nothing"; }
};

TEST(ScenesSection, ATypeThatMakesNoSceneIsAnErrorAtItsEntry) {
    SceneManager::instance()->addCreator(std::make_unique<NothingCreator>());
    AsciiReader reader("show.ini", "{\n\n  ghost\n  \"Nothing\"\n}");
    EXPECT_THAT([&] { readScenesSection(reader); },
                ::testing::Throws<ParseError>(::testing::Property(&ParseError::message,
                    "Parse error (show.ini 3 ): ghost: the scene type 'Nothing' made no scene")));
}

}  // namespace
}  // namespace demo
