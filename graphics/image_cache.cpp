#include "graphics/image_cache.h"

#include <memory>

#include "graphics/formats/alpha_jpeg_sink.h"
#include "graphics/formats/jpeg_decoder.h"
#include "graphics/formats/rgb_jpeg_sink.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "manager/path_lookup.h"

namespace demo {
namespace {

// The file's bytes for the length of decode(), its reference released after.
template <class Decode>
void withFile(const std::string& name, Decode decode) {
    FileSystem* files = FileSystem::instance();
    MemoryFile* file = files->get(name);
    try {
        decode(*file);
    } catch (...) {
        files->release(file);
        throw;
    }
    files->release(file);
}

}  // namespace

ImageCache* ImageCache::instance() {
    static ImageCache* cache = new ImageCache();
    return cache;
}

Image* ImageCache::load(const std::string& name) {
    lastFailure_.clear();
    std::size_t plus = name.find('+');
    if (plus != std::string::npos) {
        std::unique_ptr<Image> image(load(name.substr(0, plus)));
        if (image == nullptr) return nullptr;
        image->name = name;
        loadJpegAlpha(name.substr(plus + 1), *image);
        return image.release();
    }
    if (endsWithIgnoringCase(name, ".jpg") || endsWithIgnoringCase(name, ".jpeg"))
        return loadJpegRgb(name, &lastFailure_);
    // ".png" and every other type; a file that is there is named as such.
    try {
        withFile(name,
                 [&](const MemoryFile&) { lastFailure_ = "only .jpg and .jpeg images are read"; });
    } catch (const ResourceMissing&) {
    }
    return nullptr;
}

Image* loadJpegRgb(const std::string& name, std::string* failure) {
    RgbJpegSink sink;
    withFile(name, [&](const MemoryFile& file) { decodeJpeg(file, sink, failure); });
    if (!sink.begun()) return nullptr;         // stopped before the frame was known
    if (failure != nullptr) failure->clear();  // damaged later: the rest is black
    return new Image(name, sink.width(), sink.height(), Image::RGBA, sink.takePixels());
}

void loadJpegAlpha(const std::string& name, Image& image) {
    AlphaJpegSink sink(image);
    withFile(name, [&](const MemoryFile& file) { decodeJpeg(file, sink); });
}

}  // namespace demo
