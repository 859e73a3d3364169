#pragma once
// JPEG files made and read with the system's libjpeg, for tests and
// benchmarks: an oracle that no one here wrote.

#include <jpeglib.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace demo::test {

using Bytes = std::vector<unsigned char>;

struct JpegRecipe {
    int width = 32, height = 24;
    int components = 3;  // 1 grey, 3 YCbCr made from RGB, others raw channels
    int sampling[4][2] = {{1, 1}, {1, 1}, {1, 1}, {1, 1}};  // h, v per component
    int ids[4] = {1, 2, 3, 4};
    int quality = 90, restartInterval = 0;
    int quantScale = 0;  // > 0: table k x scale + 1, 16-bit above 255
    bool optimize = false, jfif = true, app1 = false, progressive = false, arithmetic = false;
};

// A photo-like scene: soft shading with a mild tint, soft-edged patches
// and a little grain; channel c of pixel (x, y).
inline unsigned char testPixel(int x, int y, int c, int width, int height) {
    unsigned grain = (static_cast<unsigned>(x) * 7919u + static_cast<unsigned>(y) * 104729u +
                      static_cast<unsigned>(c) * 31u) * 2654435761u >> 29;
    int w = width > 1 ? width : 2, h = height > 1 ? height : 2;
    int light = 50 + 120 * x / w + 60 * y / h;
    if (((x / 13) + (y / 11)) % 3 == 0) light = (light + 100) / 2;
    static const int tint[4] = {12, 0, -16, 0};
    int v = c == 3 ? 255 - light : light + tint[c] * (x + y) / (w + h) + static_cast<int>(grain);
    return static_cast<unsigned char>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

inline Bytes encodeJpeg(const JpegRecipe& recipe) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(recipe.width);
    cinfo.image_height = static_cast<JDIMENSION>(recipe.height);
    cinfo.input_components = recipe.components;
    cinfo.in_color_space = recipe.components == 1 ? JCS_GRAYSCALE : (recipe.components == 3 ? JCS_RGB : JCS_UNKNOWN);
    jpeg_set_defaults(&cinfo);
    if (recipe.components != 1 && recipe.components != 3) jpeg_set_colorspace(&cinfo, JCS_UNKNOWN);
    jpeg_set_quality(&cinfo, recipe.quality, TRUE);
    if (recipe.quantScale > 0) {
        unsigned table[64];
        for (int k = 0; k < 64; ++k) table[k] = static_cast<unsigned>(k * recipe.quantScale + 1);
        jpeg_add_quant_table(&cinfo, 0, table, 100, FALSE);
        jpeg_add_quant_table(&cinfo, 1, table, 100, FALSE);
    }
    for (int i = 0; i < recipe.components; ++i) {
        cinfo.comp_info[i].component_id = recipe.ids[i];
        cinfo.comp_info[i].h_samp_factor = recipe.sampling[i][0];
        cinfo.comp_info[i].v_samp_factor = recipe.sampling[i][1];
    }
    cinfo.restart_interval = static_cast<unsigned>(recipe.restartInterval);
    cinfo.optimize_coding = recipe.optimize;
    cinfo.write_JFIF_header = recipe.jfif;
    cinfo.arith_code = recipe.arithmetic;
    if (recipe.progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    if (recipe.app1) jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>("Exif\0"), 6);
    Bytes row(static_cast<std::size_t>(recipe.width) * recipe.components);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = testPixel(static_cast<int>(i) / recipe.components, static_cast<int>(cinfo.next_scanline),
                               static_cast<int>(i) % recipe.components, recipe.width, recipe.height);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(out, out + outSize);
    std::free(out);
    // 16-bit tables make libjpeg write an extended frame (SOF1); the data is baseline.
    const unsigned char sof1[] = {0xFF, 0xC1};
    auto at = std::search(bytes.begin(), bytes.end(), sof1, sof1 + 2);
    if (at != bytes.end()) at[1] = 0xC0;
    return bytes;
}

}  // namespace demo::test
