#pragma once
// Images loaded by name from the file system (JPEG only) and counted by
// reference until their textures are uploaded. "a.jpg+b.jpg" takes the
// colour of a.jpg and its alpha from the luminance of b.jpg.

#include <string>

#include "graphics/image.h"
#include "manager/resource_cache.h"
#include "manager/singleton.h"

namespace demo {

class ImageCache : public ResourceCache<Image>, public Singleton {
public:
    static ImageCache* instance();

    // A new image, or null when the name is of no loadable type or does
    // not decode. Not cached: get() caches.
    Image* load(const std::string& name);

    // Why the last load() gave no image: empty when the file was missing.
    const std::string& lastFailure() const { return lastFailure_; }

protected:
    Image* create(const std::string& name) override { return load(name); }

private:
    ImageCache() = default;

    std::string lastFailure_;
};

// A new RGBA image decoded from the file name, or null; `failure`, when
// given, then receives why.
Image* loadJpegRgb(const std::string& name, std::string* failure = nullptr);
// Decodes the file name into the alpha bytes of image.
void loadJpegAlpha(const std::string& name, Image& image);
inline void loadJpegAlpha(const std::string& name, Image* image) {
    if (image != nullptr) loadJpegAlpha(name, *image);
}

}  // namespace demo
