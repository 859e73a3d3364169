#include "manager/progress_bar.h"

#include <algorithm>
#include <string>

#include "manager/exceptions.h"
#include "manager/source_location.h"
#include "manager/timer_base.h"

namespace demo {
namespace {

ExceptionBase cannotOpen(const char* fileName) {
    return ExceptionBase(
        std::string("Cannot open ") + fileName + ". Use -progress flag to generate file.",
        source::kProgressFileMissing.unit, source::kProgressFileMissing.line);
}

}  // namespace

ProgressBar* ProgressBar::instance() {
    static ProgressBar* bar = new ProgressBar();
    return bar;
}

ProgressBar::~ProgressBar() {
    if (output_ != nullptr) std::fclose(output_);
}

void ProgressBar::reset() {
    if (output_ != nullptr) std::fclose(output_);
    *this = ProgressBar();
}

void ProgressBar::loadTimes(const char* fileName) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) throw cannotOpen(fileName);
    std::vector<unsigned char> bytes;
    unsigned char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) throw cannotOpen(fileName);
    fractions_.clear();
    for (unsigned char b : bytes) fractions_.push_back(b * (1.0f / 255.0f));
    generate_ = false;
}

void ProgressBar::startGenerating(std::FILE* output) {
    if (output_ != nullptr && output_ != output) std::fclose(output_);
    output_ = output;
    generate_ = output != nullptr;
}

void ProgressBar::begin() {
    if (generate_) fractions_.clear();
    active_ = true;
    index_ = 0;
    start_ = static_cast<float>(secondsSinceStart());
    step();
}

void ProgressBar::step() {
    if (!active_) return;
    if (generate_) {
        fractions_.push_back(static_cast<float>(secondsSinceStart()) - start_);
        return;
    }
    if (index_ >= 0 && static_cast<size_t>(index_) < fractions_.size() && displayReady_ &&
        draw_ != nullptr) {
        draw_(fractions_[index_]);
    }
    ++index_;
}

void ProgressBar::end() {
    step();
    active_ = false;
    if (!generate_) return;
    // A last time of 0 (everything loaded instantly) leaves no scale: every
    // step then counts as the whole, 255.
    float last = fractions_.empty() ? 0.0f : fractions_.back();
    float scale = last > 0.0f ? 255.0f / last : 0.0f;
    for (float t : fractions_) {
        float value = scale > 0.0f ? t * scale : 255.0f;
        value = std::clamp(value, 0.0f, 255.0f);
        std::fputc(static_cast<int>(value), output_);
    }
    std::fclose(output_);
    output_ = nullptr;
    generate_ = false;
}

}  // namespace demo
