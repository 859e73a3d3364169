#pragma once
// Baseline sequential JPEG (SOF0, Huffman coding, 8-bit samples, one
// interleaved scan) from bytes in memory to decoded sample blocks, handed
// to a sink one unit at a time. Problems are printed on standard output,
// one line each, headed by the file's name.

#include <cstddef>
#include <string>
#include <string_view>

#include "graphics/formats/jpeg_sink.h"
#include "manager/memory_file.h"

namespace demo {

// True when every unit was decoded and written. A decode that stops before
// sink.begin gives the sink nothing; one that stops later leaves the units
// written so far. `failure`, when given, receives why the decode stopped
// (empty when complete); `source` names the bytes in the printed lines.
bool decodeJpeg(const MemoryFile& file, JpegSink& sink, std::string* failure = nullptr);
bool decodeJpeg(const unsigned char* data, std::size_t size, JpegSink& sink,
                std::string_view source = {}, std::string* failure = nullptr);

}  // namespace demo
