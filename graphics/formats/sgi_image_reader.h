#pragma once
// SGI RGB images (big-endian), one byte per channel, verbatim or run-length
// encoded. Rows are stored bottom-up and come out in file order, which is the
// order OpenGL expects of texture rows.

#include <cstddef>
#include <cstdio>
#include <memory>

namespace demo {

struct SgiImage {
    int width = 0;
    int height = 0;
    int channels = 0;                       // as in the header, 0 read as 1
    std::unique_ptr<unsigned char[]> rgba;  // width x height x 4 bytes
};

inline constexpr int kSgiMaxSide = 16384;

// Decodes the image whose 512-byte header starts at data + start; the
// offsets inside the image count from there. False after printing the reason
// on standard output (an allocation failure says "Out of memory!" on standard
// error); every read stays inside the size bytes.
bool decodeSgiImage(const unsigned char* data, std::size_t size, std::size_t start,
                    SgiImage& image);

// Decodes one run-length encoded row of length bytes into exactly width
// bytes: false when the packets run past length, overrun or underrun the row.
bool decodeSgiRow(const unsigned char* packets, std::size_t length, unsigned char* row,
                  std::size_t width);

// Reads the image that starts at the file's position through to its end; the
// file stays open. A new[] RGBA buffer, or null after printing the reason.
unsigned char* readSgiImage(std::FILE* file, int* width, int* height, int* channels);

}  // namespace demo
