// SPDX-License-Identifier: GPL-3.0-or-later
// PNG files without libpng: RGB, 8 bits per channel, the image data in
// stored (uncompressed) deflate blocks. Reading takes what this writes and
// every other PNG whose data is stored; a compressed one reads as unreadable.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/draw/raster_canvas.h"
#include "platform/file/utf8_path.h"

namespace lumen {

namespace {

constexpr std::array<uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kStoredBlockBytes = 65535;
constexpr int32_t kLargestSide = 1 << 15;
constexpr uint8_t kRgbColourType = 2;
constexpr size_t kChunkOverheadBytes = 12;  // length, type, CRC
constexpr size_t kLargestFileBytes = size_t{1} << 30;

uint32_t crcOf(const uint8_t* bytes, size_t count, uint32_t crc = 0xFFFFFFFFu) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> values{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            values[n] = c;
        }
        return values;
    }();
    for (size_t i = 0; i < count; ++i) crc = table[(crc ^ bytes[i]) & 0xFFu] ^ (crc >> 8);
    return crc;
}

uint32_t adler32Of(const std::vector<uint8_t>& bytes) {
    constexpr uint32_t kModulus = 65521;
    uint32_t a = 1;
    uint32_t b = 0;
    for (const uint8_t byte : bytes) {
        a = (a + byte) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t bigEndianAt(const std::vector<uint8_t>& bytes, size_t at) {
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
           bytes[at + 3];
}

void putChunk(std::vector<uint8_t>& file, std::string_view type, const std::vector<uint8_t>& data) {
    putBigEndian(file, static_cast<uint32_t>(data.size()));
    const size_t typeAt = file.size();
    file.insert(file.end(), type.begin(), type.end());
    file.insert(file.end(), data.begin(), data.end());
    putBigEndian(file, crcOf(file.data() + typeAt, file.size() - typeAt) ^ 0xFFFFFFFFu);
}

// The zlib stream of `raw` in stored blocks.
std::vector<uint8_t> storedZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out{0x78, 0x01};
    size_t at = 0;
    do {
        const size_t count = std::min(kStoredBlockBytes, raw.size() - at);
        const bool last = at + count == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(count));
        out.push_back(static_cast<uint8_t>(count >> 8));
        out.push_back(static_cast<uint8_t>(~count));
        out.push_back(static_cast<uint8_t>(~count >> 8));
        out.insert(out.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                   raw.begin() + static_cast<ptrdiff_t>(at + count));
        at += count;
    } while (at < raw.size());
    putBigEndian(out, adler32Of(raw));
    return out;
}

// The data of a zlib stream made of stored blocks; false for anything else.
bool unstore(const std::vector<uint8_t>& zlib, std::vector<uint8_t>& raw) {
    size_t at = 2;
    if (zlib.size() < at || (zlib[0] & 0x0Fu) != 8) return false;
    for (;;) {
        if (at + 5 > zlib.size() || (zlib[at] & 0x06u) != 0) return false;  // a compressed block
        const bool last = (zlib[at] & 1u) != 0;
        const size_t count = zlib[at + 1] | (size_t{zlib[at + 2]} << 8);
        at += 5;
        if (at + count > zlib.size()) return false;
        raw.insert(raw.end(), zlib.begin() + static_cast<ptrdiff_t>(at),
                   zlib.begin() + static_cast<ptrdiff_t>(at + count));
        at += count;
        if (last) return true;
    }
}

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Undoes the row filters in place; false for an unknown filter.
bool unfilter(std::vector<uint8_t>& raw, size_t rowBytes, size_t rows) {
    constexpr size_t kPixelBytes = 3;
    for (size_t y = 0; y < rows; ++y) {
        uint8_t* row = raw.data() + y * (rowBytes + 1);
        const uint8_t* above = y > 0 ? row - (rowBytes + 1) : nullptr;
        const uint8_t filter = row[0];
        if (filter > 4) return false;
        for (size_t x = 1; x <= rowBytes; ++x) {
            const int a = x > kPixelBytes ? row[x - kPixelBytes] : 0;
            const int b = above != nullptr ? above[x] : 0;
            const int c = above != nullptr && x > kPixelBytes ? above[x - kPixelBytes] : 0;
            const int predictor = filter == 1   ? a
                                  : filter == 2 ? b
                                  : filter == 3 ? (a + b) / 2
                                  : filter == 4 ? paeth(a, b, c)
                                                : 0;
            row[x] = static_cast<uint8_t>(row[x] + predictor);
        }
    }
    return true;
}

std::vector<uint8_t> readAll(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) return bytes;
    std::array<uint8_t, 1 << 16> buffer{};
    size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), file)) > 0 && bytes.size() < kLargestFileBytes) {
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(count));
    }
    std::fclose(file);
    return bytes;
}

}  // namespace

bool RasterCanvas::savePng(const std::string& path) const {
    const PixelSurface pixels = surface();
    if (pixels.pixels == nullptr || pixels.width <= 0 || pixels.height <= 0) return false;
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(pixels.height) * (static_cast<size_t>(pixels.width) * 3 + 1));
    for (int32_t y = 0; y < pixels.height; ++y) {
        raw.push_back(0);  // no filter
        const uint32_t* row = pixels.pixels + static_cast<ptrdiff_t>(y) * pixels.stridePixels;
        for (int32_t x = 0; x < pixels.width; ++x) {
            raw.push_back(static_cast<uint8_t>(row[x] >> 16));
            raw.push_back(static_cast<uint8_t>(row[x] >> 8));
            raw.push_back(static_cast<uint8_t>(row[x]));
        }
    }
    std::vector<uint8_t> header;
    putBigEndian(header, static_cast<uint32_t>(pixels.width));
    putBigEndian(header, static_cast<uint32_t>(pixels.height));
    header.insert(header.end(), {8, kRgbColourType, 0, 0, 0});
    std::vector<uint8_t> file(kSignature.begin(), kSignature.end());
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", storedZlib(raw));
    putChunk(file, "IEND", {});
    std::FILE* out = openFile(path, "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

std::unique_ptr<RasterCanvas> RasterCanvas::loadPng(const std::string& path) {
    const std::vector<uint8_t> file = readAll(path);
    if (file.size() < kSignature.size() || !std::equal(kSignature.begin(), kSignature.end(), file.begin())) {
        return nullptr;
    }
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> zlib;
    for (size_t at = kSignature.size(); at + kChunkOverheadBytes <= file.size();) {
        const size_t length = bigEndianAt(file, at);
        if (length > file.size() - at - kChunkOverheadBytes) return nullptr;
        const std::string_view type(reinterpret_cast<const char*>(file.data() + at + 4), 4);
        const size_t data = at + 8;
        if (type == "IHDR") {
            if (length < 13 || file[data + 8] != 8 || file[data + 9] != kRgbColourType || file[data + 12] != 0) {
                return nullptr;  // only 8-bit RGB, not interlaced
            }
            width = static_cast<int32_t>(bigEndianAt(file, data));
            height = static_cast<int32_t>(bigEndianAt(file, data + 4));
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), file.begin() + static_cast<ptrdiff_t>(data),
                        file.begin() + static_cast<ptrdiff_t>(data + length));
        }
        at = data + length + 4;
    }
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return nullptr;
    std::vector<uint8_t> raw;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    if (!unstore(zlib, raw) || raw.size() < (rowBytes + 1) * static_cast<size_t>(height) ||
        !unfilter(raw, rowBytes, static_cast<size_t>(height))) {
        return nullptr;
    }
    auto canvas = std::make_unique<RasterCanvas>(Size{width, height});
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = raw.data() + static_cast<size_t>(y) * (rowBytes + 1) + 1;
        for (int32_t x = 0; x < width; ++x, in += 3) {
            canvas->ownPixels_[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2];
        }
    }
    return canvas;
}

}  // namespace lumen
