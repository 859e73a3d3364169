#include "graphics/image_cache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "manager/file_system.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/test_jpeg.h"

namespace demo {
namespace {

using test::JpegRecipe;

class ImageCacheTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // One folder per process: ctest runs each case as a process of its own, side by side.
        std::filesystem::path dir = test::freshScratchDir("image_cache." + std::to_string(getpid()));
        auto save = [&](const std::string& name, const JpegRecipe& recipe) {
            test::writeBytes(dir / name, test::encodeJpeg(recipe));
        };
        JpegRecipe colour, grey, small, four, ids14, ids012;
        for (const char* name : {"colour.JPG", "colour.png"}) save(name, colour);
        grey.components = small.components = 1;
        small.width = 31;
        four.components = 4;
        ids14.components = 2;  // luminance and an extra channel: grey
        ids14.ids[1] = 4;
        for (int i = 0; i < 3; ++i) ids012.ids[i] = i;  // no id 3: grey from the component of id 1
        save("grey.jpg", grey), save("small.jpg", small), save("four.jpg", four);
        save("ids14.jpg", ids14), save("ids012.jpg", ids012);
        std::ofstream(dir / "not.jpg") << "nope";
        FileSystem::instance()->addDirectory(dir.string());
    }

    std::unique_ptr<Image> load(const std::string& name) {
        testing::internal::CaptureStdout();
        std::unique_ptr<Image> image(ImageCache::instance()->load(name));
        output = testing::internal::GetCapturedStdout();
        return image;
    }

    std::string output;
};

TEST_F(ImageCacheTest, LoadsJpegNamesOnlyWithTheirAlpha) {
    const struct { const char* name; int alpha; bool grey; } cases[] = {  // alpha -1: no image, 0: a channel
        {"colour.JPG", 255, false}, {"colour.png", -1, false}, {"grey.jpg", 127, true},
        {"four.jpg", 0, false}, {"ids14.jpg", 127, true}, {"ids012.jpg", 127, true},
        {"colour.png+grey.jpg", -1, false}, {"not.jpg", -1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Image> image = load(c.name);
        ASSERT_EQ(image == nullptr, c.alpha < 0);
        if (!image) continue;
        EXPECT_TRUE(image->name == c.name && image->byteCount() == 32u * 24u * 4u);
        std::size_t grey = 0, alpha = 0;
        for (std::size_t i = 0; i < image->byteCount(); i += 4) {
            const unsigned char* p = image->pixels + i;
            grey += p[0] == p[1] && p[1] == p[2];
            alpha += c.alpha == 0 ? std::abs(p[3] - test::testPixel(int(i / 4) % 32, int(i / 128), 3, 32, 24)) <= 12
                                  : p[3] == c.alpha;
        }
        EXPECT_EQ(grey == 32 * 24, c.grey);
        EXPECT_EQ(alpha, 32u * 24u);  // four components: alpha from the fourth
    }
    EXPECT_EQ(output, "not.jpg: This is not jpeg-file.\n");
}

TEST_F(ImageCacheTest, PlusNameTakesAlphaFromTheSecondLuminanceAndCachesTheWholeName) {
    ImageCache* cache = ImageCache::instance();
    std::unique_ptr<Image> grey = load("grey.jpg"), colour = load("colour.JPG");
    Image* merged = cache->get("colour.JPG+grey.jpg");
    ASSERT_NE(merged, nullptr);
    int wrong = 0;
    for (std::size_t i = 0; i < merged->byteCount(); i += 4)
        wrong += std::memcmp(merged->pixels + i, colour->pixels + i, 3) != 0 || merged->pixels[i + 3] != grey->pixels[i];
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(cache->objects().count("colour.JPG") == 0 && cache->objects().count("colour.JPG+grey.jpg") == 1);
    cache->release(merged);

    std::unique_ptr<Image> refused = load("colour.JPG+small.jpg");  // the alpha stays as it was
    EXPECT_TRUE(output == "small.jpg: Alpha image size differs from the colour image.\n" && refused->pixels[3] == 255) << output;
    EXPECT_TRUE(cache->get("colour.png") == nullptr && cache->objects().count("colour.png") == 0);  // the next get tries again
}

}  // namespace
}  // namespace demo
