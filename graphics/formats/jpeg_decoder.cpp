#include "graphics/formats/jpeg_decoder.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "graphics/formats/jpeg_huffman.h"
#include "graphics/formats/jpeg_idct.h"

namespace demo {
namespace {

// Natural index of the k-th coefficient in zig-zag order.
constexpr std::uint8_t kZigZag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Why a decode that stopped at a frame of another kind gave no image.
const char* frameKind(unsigned marker) {
    if (marker == 0xFFC2) return "progressive JPEG; only baseline JPEG is read";
    if (marker >= 0xFFC9 && marker != 0xFFCC) return "arithmetic-coded JPEG; only baseline JPEG is read";
    if (marker == 0xFFC1) return "extended JPEG; only baseline JPEG is read";
    return "lossless or hierarchical JPEG; only baseline JPEG is read";
}

enum class Step { Go, Stop, Scan };

class JpegDecoder {
public:
    JpegDecoder(const unsigned char* data, std::size_t size, JpegSink& sink, std::string_view source)
        : data_(data), end_(data + size), sink_(sink), source_(source) {}

    bool run();
    // Why the decode stopped: its last note, or the kind of frame it cannot read.
    std::string failure() const;

private:
    // One line on standard output, headed by the file's name when it has one.
    void report(const std::string& message);
    bool enoughDataFor(const unsigned char* data, int units, int blocksPerUnit);
    Step segment(unsigned marker, const unsigned char* payload, std::size_t length);
    Step frame(const unsigned char* payload, std::size_t length);
    Step huffmanTables(const unsigned char* payload, std::size_t length);
    void quantTables(const unsigned char* payload, std::size_t length);
    Step scanHeader(const unsigned char* payload, std::size_t length);
    bool decodeScan(const unsigned char* data);
    bool decodeBlock(JpegBitReader& bits, JpegComponent& component, std::int32_t* block);

    const unsigned char* data_;
    const unsigned char* end_;
    JpegSink& sink_;
    std::string_view source_;
    std::string lastNote_;
    unsigned otherFrame_ = 0;  // SOFn marker of a kind not decoded

    int width_ = 0;
    int height_ = 0;
    int componentCount_ = 0;
    JpegComponent components_[4];
    std::int32_t quant_[4][64] = {};
    bool quantPresent_[4] = {};
    std::unique_ptr<JpegHuffmanTable> dc_[4];
    std::unique_ptr<JpegHuffmanTable> ac_[4];
    int restartInterval_ = -1;
    alignas(32) std::int32_t coefficients_[64] = {};
};

void JpegDecoder::report(const std::string& message) {
    lastNote_ = message;
    if (source_.empty()) {
        std::printf("%s\n", message.c_str());
    } else {
        std::printf("%.*s: %s\n", static_cast<int>(source_.size()), source_.data(), message.c_str());
    }
    std::fflush(stdout);
}

std::string JpegDecoder::failure() const {
    if (componentCount_ == 0 && otherFrame_ != 0) return frameKind(otherFrame_);
    return lastNote_;
}

bool JpegDecoder::run() {
    if (end_ - data_ < 2 || data_[0] != 0xFF || data_[1] != 0xD8) {
        report("This is not jpeg-file.");
        return false;
    }
    const unsigned char* at = data_ + 2;
    for (;;) {
        // The end of the image (which has no length) or of the bytes before any scan.
        if (end_ - at < 4 || (at[0] == 0xFF && at[1] == 0xD9)) {
            report("Unexpected end of JPEG (no image data).");
            return false;
        }
        unsigned marker = at[0] << 8 | at[1];
        std::size_t length = at[2] << 8 | at[3];
        if (length < 2 || length - 2 > static_cast<std::size_t>(end_ - at - 4)) {
            report("Corrupt JPEG data: bad segment length.");
            return false;
        }
        const unsigned char* payload = at + 4;
        at = payload + length - 2;
        switch (segment(marker, payload, length - 2)) {
            case Step::Go: break;
            case Step::Stop: return false;
            case Step::Scan: return decodeScan(at);
        }
    }
}

Step JpegDecoder::segment(unsigned marker, const unsigned char* payload, std::size_t length) {
    switch (marker) {
        case 0xFFC0: return frame(payload, length);
        case 0xFFC4: return huffmanTables(payload, length);
        case 0xFFDB: quantTables(payload, length); return Step::Go;
        case 0xFFDD:
            if (length >= 2) restartInterval_ = payload[0] << 8 | payload[1];
            return Step::Go;
        case 0xFFE0:
            if (length < 5 || std::memcmp(payload, "JFIF", 5) != 0) report("Can read only JFIF-format.");
            return Step::Go;
        case 0xFFDA: return scanHeader(payload, length);
        case 0xFFD8: case 0xFFDC: case 0xFFDE: case 0xFFDF: case 0xFFE2: case 0xFFFD: case 0xFFFE:
            return Step::Go;
        default: break;
    }
    if (marker >= 0xFFC1 && marker <= 0xFFCF && marker != 0xFFC4 && marker != 0xFFC8 && marker != 0xFFCC)
        otherFrame_ = marker;
    bool silent = (marker >= 0xFFC1 && marker <= 0xFFCF) || (marker >= 0xFFED && marker <= 0xFFF0);
    if (!silent) report("Unidentified segment marker.");
    return Step::Go;
}

Step JpegDecoder::frame(const unsigned char* payload, std::size_t length) {
    if (length < 6) {
        report("Corrupt JPEG data: bad frame header.");
        return Step::Stop;
    }
    if (payload[0] != 8) report("Other than 8 bits/sample precision not supported.");
    height_ = payload[1] << 8 | payload[2];
    width_ = payload[3] << 8 | payload[4];
    componentCount_ = payload[5];
    if (width_ == 0 || height_ == 0 || componentCount_ < 1 || componentCount_ > 4 ||
        length < 6 + 3 * static_cast<std::size_t>(componentCount_)) {
        report("Unsupported JPEG frame: bad size or component count.");
        componentCount_ = 0;
        return Step::Stop;
    }
    for (int i = 0; i < componentCount_; ++i) {
        const unsigned char* record = payload + 6 + 3 * i;
        JpegComponent& component = components_[i];
        component.id = record[0];
        component.h = record[1] >> 4;
        component.v = record[1] & 15;
        component.quantTable = record[2];
        if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4 ||
            component.quantTable > 3) {
            report("Unsupported JPEG frame: bad sampling factor or table index.");
            componentCount_ = 0;
            return Step::Stop;
        }
    }
    return Step::Go;
}

Step JpegDecoder::huffmanTables(const unsigned char* payload, std::size_t length) {
    std::size_t at = 0;
    while (at < length) {
        if (length - at < 17) break;
        unsigned kind = payload[at];
        const std::uint8_t* counts = payload + at + 1;
        std::size_t total = 0;
        for (int i = 0; i < 16; ++i) total += counts[i];
        at += 17;
        auto table = std::make_unique<JpegHuffmanTable>();
        bool ac = (kind & 0x10) != 0;
        if (total > 256 || total > length - at || !table->build(counts, payload + at, ac)) {
            report("Corrupt JPEG data: bad Huffman table.");
            return Step::Stop;
        }
        at += total;
        (ac ? ac_ : dc_)[kind & 3] = std::move(table);
    }
    return Step::Go;
}

void JpegDecoder::quantTables(const unsigned char* payload, std::size_t length) {
    std::size_t at = 0;
    while (at < length) {
        unsigned kind = payload[at];
        bool wide = kind >= 16;
        std::size_t need = 1 + (wide ? 128 : 64);
        if (length - at < need) return;
        std::int32_t* table = quant_[kind & 3];
        const unsigned char* entries = payload + at + 1;
        for (int k = 0; k < 64; ++k)
            table[kZigZag[k]] = wide ? entries[2 * k] << 8 | entries[2 * k + 1] : entries[k];
        quantPresent_[kind & 3] = true;
        at += need;
    }
}

Step JpegDecoder::scanHeader(const unsigned char* payload, std::size_t length) {
    if (componentCount_ == 0) {
        report("There have to be SOF0 before SOS.");
        return Step::Stop;
    }
    if (length < 1 || payload[0] != componentCount_)
        report("Different number of components in SOS and SOF0.");
    if (length < 1 + 2 * static_cast<std::size_t>(componentCount_)) {
        report("Corrupt JPEG data: bad scan header.");
        return Step::Stop;
    }
    for (int i = 0; i < componentCount_; ++i) {
        JpegComponent& component = components_[i];
        const unsigned char* entry = payload + 1 + 2 * i;
        if (entry[0] != component.id) report("Different component id in SOS and SOF0.");
        component.dcTable = entry[1] >> 4;
        component.acTable = entry[1] & 15;
        if (component.dcTable > 3 || component.acTable > 3) {
            report("Corrupt JPEG data: bad Huffman table index.");
            return Step::Stop;
        }
        if (!quantPresent_[component.quantTable]) {
            // Said twice for the one component, as the format's readers always have.
            report("Not all qtables defined.");
            report("Not all qtables defined.");
            return Step::Stop;
        }
        if (!dc_[component.dcTable] || !ac_[component.acTable]) {
            report("Not all huffmans defined.");
            return Step::Stop;
        }
    }
    return Step::Scan;
}

bool JpegDecoder::decodeBlock(JpegBitReader& reader, JpegComponent& component,
                              std::int32_t* block) {
    // A local copy stays in registers: the coefficient stores could alias the reader.
    JpegBitReader bits = reader;
    const JpegHuffmanTable& dcTable = *dc_[component.dcTable];
    const JpegHuffmanTable& acTable = *ac_[component.acTable];
    const std::int32_t* q = quant_[component.quantTable];

    if (bits.buffered() < 32) bits.fill();
    int size = dcTable.decode(bits);
    if (size < 0 || size > 11) {
        reader = bits;
        return false;
    }
    int diff = size == 0 ? 0 : extendJpegValue(bits.get(size), size);
    component.predictor = static_cast<std::int32_t>(static_cast<std::uint32_t>(component.predictor) +
                                                    static_cast<std::uint32_t>(diff));
    std::int32_t dc = static_cast<std::int32_t>(static_cast<std::int64_t>(q[0]) * component.predictor);

    // coefficients_ is all zero between blocks: only the written places are
    // cleared again, which is cheaper than clearing all 64.
    std::int32_t* coefficients = coefficients_;
    std::uint8_t written[64];
    int writtenCount = 0;
    for (int k = 1; k < 64;) {
        if (bits.buffered() < 32) bits.fill();
        std::int32_t fast = acTable.fastAc(bits.peek(JpegHuffmanTable::kFastBits));
        int run;
        int value;
        if (fast != 0) {
            bits.skip(fast & 0xFF);
            run = fast >> 8 & 0xFF;
            value = fast >> 16;
        } else {
            int symbol = acTable.decode(bits);
            if (symbol < 0) {
                reader = bits;
                return false;
            }
            if (symbol == 0) break;  // end of block
            run = symbol >> 4;
            int bitsOfValue = symbol & 15;
            value = bitsOfValue == 0 ? 0 : extendJpegValue(bits.get(bitsOfValue), bitsOfValue);
        }
        k += run;
        if (k >= 64) break;  // a run that reaches the end ends the block
        int at = kZigZag[k];
        coefficients[at] = static_cast<std::int32_t>(static_cast<std::int64_t>(q[at]) * value);
        written[writtenCount++] = static_cast<std::uint8_t>(at);
        ++k;
    }
    reader = bits;
    if (writtenCount == 0) {
        idct8x8DcOnly(dc, block);
    } else {
        coefficients[0] = dc;
        idct8x8(coefficients, block);
        coefficients[0] = 0;
        for (int i = 0; i < writtenCount; ++i) coefficients[written[i]] = 0;
    }
    return true;
}

bool JpegDecoder::decodeScan(const unsigned char* data) {
    if (componentCount_ == 1) components_[0].h = components_[0].v = 1;
    int maxH = 1, maxV = 1, blockCount = 0;
    for (int i = 0; i < componentCount_; ++i) {
        maxH = components_[i].h > maxH ? components_[i].h : maxH;
        maxV = components_[i].v > maxV ? components_[i].v : maxV;
        blockCount += components_[i].h * components_[i].v;
    }
    auto samples = std::make_unique<std::int32_t[]>(static_cast<std::size_t>(blockCount) * 64);
    std::int32_t* next = samples.get();
    for (int i = 0; i < componentCount_; ++i) {
        components_[i].blocks = next;
        components_[i].predictor = 0;
        next += components_[i].h * components_[i].v * 64;
    }
    int unitWidth = 8 * maxH, unitHeight = 8 * maxV;
    int unitsColumns = (width_ + unitWidth - 1) / unitWidth;
    int unitRows = (height_ + unitHeight - 1) / unitHeight;
    long long unitsLeft = static_cast<long long>(unitsColumns) * unitRows;
    if (!enoughDataFor(data, static_cast<int>(unitsLeft), blockCount)) return false;
    if (!sink_.begin(width_, height_, components_, componentCount_, unitWidth, unitHeight)) {
        if (!sink_.refusal().empty()) report(sink_.refusal());
        return false;
    }

    JpegBitReader bits(data, end_);
    int sinceRestart = 0;
    for (int y = 0; y < height_; y += unitHeight) {
        for (int x = 0; x < width_; x += unitWidth) {
            for (int i = 0; i < componentCount_; ++i) {
                JpegComponent& component = components_[i];
                int count = component.h * component.v;
                for (int b = 0; b < count; ++b) {
                    if (!decodeBlock(bits, component, component.blocks + 64 * b)) {
                        report("Corrupt JPEG data: bad Huffman code.");
                        return false;
                    }
                }
            }
            if (bits.overrun()) {
                report("Corrupt JPEG data: the image data ends too early.");
                return false;
            }
            sink_.write(components_, componentCount_, x, y, unitWidth, unitHeight);
            --unitsLeft;
            if (++sinceRestart == restartInterval_ && unitsLeft > 0) {
                sinceRestart = 0;
                for (int i = 0; i < componentCount_; ++i) components_[i].predictor = 0;
                if (!bits.restart()) {
                    report("Corrupt JPEG data: restart marker expected.");
                    return false;
                }
            }
        }
    }
    return true;
}

// Every block costs at least two bits (a DC and an end-of-block code): a
// header may not ask for an image that the bytes left cannot describe.
bool JpegDecoder::enoughDataFor(const unsigned char* data, int units, int blocksPerUnit) {
    unsigned long long bits = 8ull * static_cast<unsigned long long>(end_ - data);
    if (2ull * static_cast<unsigned long long>(units) * static_cast<unsigned>(blocksPerUnit) <= bits)
        return true;
    report("Corrupt JPEG data: " + std::to_string(end_ - data) + " bytes of image data cannot hold a " +
           std::to_string(width_) + "x" + std::to_string(height_) + " image.");
    return false;
}

}  // namespace

bool decodeJpeg(const unsigned char* data, std::size_t size, JpegSink& sink, std::string_view source,
                std::string* failure) {
    JpegDecoder decoder(data, size, sink, source);
    bool complete = decoder.run();
    if (failure != nullptr) *failure = complete ? std::string() : decoder.failure();
    return complete;
}

bool decodeJpeg(const MemoryFile& file, JpegSink& sink, std::string* failure) {
    return decodeJpeg(file.data, file.size, sink, file.name, failure);
}

}  // namespace demo
