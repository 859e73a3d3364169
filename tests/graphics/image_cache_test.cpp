#include "graphics/image_cache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "manager/file_system.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/test_jpeg.h"

namespace demo {
namespace {

using test::JpegSpec;

class ImageCacheTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::filesystem::path dir = test::freshScratchDir("image_cache");
        auto save = [&](const std::string& name, const std::vector<unsigned char>& bytes) {
            std::ofstream(dir / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        };
        JpegSpec colour;
        save("colour.JPG", test::encodeJpeg(colour));
        save("colour.jpeg", test::encodeJpeg(colour));
        save("colour.png", test::encodeJpeg(colour));
        save("colour.ppm", test::encodeJpeg(colour));
        JpegSpec grey;
        grey.components = 1;
        save("grey.jpg", test::encodeJpeg(grey));
        grey.width = 31;
        save("small.jpg", test::encodeJpeg(grey));
        JpegSpec four = colour;
        four.components = 4;
        save("four.jpg", test::encodeJpeg(four));
        JpegSpec ids14 = colour;  // luminance and an extra channel: grey
        ids14.components = 2;
        ids14.ids[1] = 4;
        save("ids14.jpg", test::encodeJpeg(ids14));
        JpegSpec ids012 = colour;  // no id 3: grey from the component of id 1
        for (int i = 0; i < 3; ++i) ids012.ids[i] = i;
        save("ids012.jpg", test::encodeJpeg(ids012));
        save("not.jpg", {'n', 'o', 'p', 'e'});
        FileSystem::instance()->addDirectory(dir.string());
    }

    std::unique_ptr<Image> decoded(const std::string& name) {
        testing::internal::CaptureStdout();
        std::unique_ptr<Image> image(ImageCache::instance()->load(name));
        output = testing::internal::GetCapturedStdout();
        return image;
    }

    std::string output;
};

TEST_F(ImageCacheTest, LoadsJpegNamesOnlyWithTheirAlpha) {
    const struct {
        const char* name;
        bool loads;
        int alpha;  // -1: taken from a component
        bool grey;
    } cases[] = {
        {"colour.JPG", true, 255, false}, {"colour.jpeg", true, 255, false},
        {"colour.png", false, 0, false},  {"colour.ppm", false, 0, false},
        {"grey.jpg", true, 127, true},    {"four.jpg", true, -1, false},
        {"ids14.jpg", true, 127, true},   {"ids012.jpg", true, 127, true},
        {"not.jpg", false, 0, false},     {"colour.png+grey.jpg", false, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Image> image = decoded(c.name);
        ASSERT_EQ(image != nullptr, c.loads);
        if (!image) continue;
        EXPECT_EQ(image->name, c.name);
        EXPECT_EQ(image->format, Image::RGBA);
        EXPECT_EQ(image->bytesPerPixel, 4);
        EXPECT_EQ(image->width, 32);
        EXPECT_EQ(image->height, 24);
        int greyPixels = 0, alphaMatches = 0;
        for (std::size_t i = 0; i < image->byteCount(); i += 4) {
            const unsigned char* p = image->pixels + i;
            greyPixels += p[0] == p[1] && p[1] == p[2];
            alphaMatches += c.alpha < 0 || p[3] == c.alpha;
        }
        EXPECT_EQ(greyPixels == 32 * 24, c.grey);
        EXPECT_EQ(alphaMatches, 32 * 24);
    }
    // Four components: alpha is the fourth channel's samples (255 - light) within rounding.
    std::unique_ptr<Image> four = decoded("four.jpg");
    EXPECT_NEAR(four->pixels[3], test::testPixel(0, 0, 3, 32, 24), 4);
    EXPECT_EQ(decoded("not.jpg"), nullptr);
    EXPECT_EQ(output, "This is not jpeg-file.\n");
}

TEST_F(ImageCacheTest, PlusNameTakesAlphaFromTheSecondLuminanceAndCachesTheWholeName) {
    ImageCache* cache = ImageCache::instance();
    std::unique_ptr<Image> grey = decoded("grey.jpg");
    testing::internal::CaptureStdout();
    Image* merged = cache->get("colour.JPG+grey.jpg");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_NE(merged, nullptr);
    std::unique_ptr<Image> colour = decoded("colour.JPG");
    for (std::size_t i = 0; i < merged->byteCount(); i += 4) {
        ASSERT_EQ(std::memcmp(merged->pixels + i, colour->pixels + i, 3), 0);
        ASSERT_EQ(merged->pixels[i + 3], grey->pixels[i]);
    }
    EXPECT_EQ(cache->objects().count("colour.JPG+grey.jpg"), 1u);
    EXPECT_EQ(cache->objects().count("colour.JPG"), 0u);
    EXPECT_EQ(cache->get("colour.JPG+grey.jpg"), merged);
    cache->release(merged);
    cache->release(cache->objects().at("colour.JPG+grey.jpg"));  // count 0: gone
    EXPECT_EQ(cache->objects().count("colour.JPG+grey.jpg"), 0u);

    // A mask of another size is refused and the alpha stays as it was.
    std::unique_ptr<Image> refused = decoded("colour.JPG+small.jpg");
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(output, "Alpha image size differs from the colour image.\n");
    EXPECT_EQ(refused->pixels[3], 255);

    // Names that yield no image are not cached, so the next get tries again.
    EXPECT_EQ(cache->get("colour.png"), nullptr);
    EXPECT_EQ(cache->objects().count("colour.png"), 0u);
}

}  // namespace
}  // namespace demo
