// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/wfdb/wfdb_annotations.h"

#include <algorithm>
#include <array>
#include <climits>

#include "import/import_error.h"

namespace lumen {
namespace {

constexpr uint8_t kSkip = 59;
constexpr uint8_t kNum = 60;
constexpr uint8_t kSub = 61;
constexpr uint8_t kChn = 62;
constexpr uint8_t kAux = 63;
constexpr uint8_t kMaxCode = 49;
constexpr int kMaxStep = 1023;

// Indexed by code, as the WFDB library's table.
constexpr std::array<const char*, kMaxCode + 1> kMnemonics = {
    "",  "N", "L", "R", "a", "V",  "F", "J", "A", "S", "E", "j", "/", "Q", "~", "",  "|",
    "",  "s", "T", "*", "D", "\"", "=", "p", "B", "^", "t", "+", "u", "?", "!", "[", "]",
    "e", "n", "@", "x", "f", "(",  ")", "r", "",  "",  "",  "",  "",  "",  "",  ""};

uint16_t word(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

void putWord(std::vector<uint8_t>& out, unsigned code, unsigned value) {
    const unsigned w = (code << 10) | (value & 0x3FF);
    out.push_back(static_cast<uint8_t>(w));
    out.push_back(static_cast<uint8_t>(w >> 8));
}

void putSkip(std::vector<uint8_t>& out, int32_t interval) {
    const auto bits = static_cast<uint32_t>(interval);
    putWord(out, kSkip, 0);
    putWord(out, (bits >> 26) & 0x3F, bits >> 16);
    putWord(out, (bits >> 10) & 0x3F, bits);
}

}  // namespace

std::vector<WfdbAnnotation> WfdbAnnotations::parse(std::span<const uint8_t> bytes, const std::string& fileName) {
    std::vector<WfdbAnnotation> out;
    int64_t time = 0;
    size_t at = 0;
    uint8_t channel = 0;
    uint8_t number = 0;
    while (at + 2 <= bytes.size()) {
        const uint16_t w = word(bytes, at);
        at += 2;
        const unsigned code = w >> 10;
        const unsigned value = w & 0x3FF;
        if (code == 0 && value == 0) return out;
        if (code == kSkip) {
            if (at + 4 > bytes.size()) throw ImportError(fileName, "ends inside a SKIP interval");
            // The interval is 32 bits, high half first (PDP-11 order).
            const auto interval = static_cast<int32_t>((uint32_t{word(bytes, at)} << 16) | word(bytes, at + 2));
            at += 4;
            time += interval;
            if (time < 0) throw ImportError(fileName, "annotation time before the start of the record");
        } else if (code == kNum || code == kSub || code == kChn) {
            if (out.empty() && code != kChn && code != kNum)
                throw ImportError(fileName, "modifier before any annotation");
            if (code == kNum) number = static_cast<uint8_t>(value);
            if (code == kChn) channel = static_cast<uint8_t>(value);
            if (!out.empty()) {
                if (code == kSub) out.back().subtype = static_cast<int8_t>(value);
                if (code == kNum) out.back().number = number;
                if (code == kChn) out.back().channel = channel;
            }
        } else if (code == kAux) {
            if (at + value > bytes.size()) throw ImportError(fileName, "auxiliary text runs past the end of the file");
            if (!out.empty())
                out.back().aux.assign(bytes.begin() + static_cast<long>(at),
                                      bytes.begin() + static_cast<long>(at + value));
            at += value + (value & 1);
        } else if (code != 0) {
            // Codes without a meaning (15, 17, 42 to 58) still move the time
            // on; the reader skips them and counts them.
            time += value;
            out.push_back({time, static_cast<uint8_t>(code), 0, channel, number, {}});
        } else {
            // A zero code at a step of 0 would read as the end when written.
            throw ImportError(fileName, "annotation code 0 at byte " + std::to_string(at - 2) +
                                            ": the file is damaged; copy it again, or import without it "
                                            "(--detect, or move it aside)");
        }
    }
    if (at != bytes.size()) throw ImportError(fileName, "ends in the middle of an annotation word");
    return out;
}

std::vector<uint8_t> WfdbAnnotations::format(std::span<const WfdbAnnotation> annotations) {
    std::vector<uint8_t> out;
    int64_t time = 0;
    uint8_t channel = 0;
    uint8_t number = 0;
    for (const WfdbAnnotation& a : annotations) {
        int64_t step = a.sample - time;
        // A SKIP interval holds 32 bits; a longer step takes several.
        while (step > kMaxStep || step < 0) {
            const int64_t interval = std::clamp<int64_t>(step, INT32_MIN, INT32_MAX);
            putSkip(out, static_cast<int32_t>(interval));
            step -= interval;
        }
        putWord(out, a.code, static_cast<unsigned>(step));
        time = a.sample;
        if (a.subtype != 0) putWord(out, kSub, static_cast<uint8_t>(a.subtype));
        if (a.channel != channel) putWord(out, kChn, channel = a.channel);
        if (a.number != number) putWord(out, kNum, number = a.number);
        if (!a.aux.empty()) {
            const size_t n = std::min<size_t>(a.aux.size(), 255);
            putWord(out, kAux, static_cast<unsigned>(n));
            out.insert(out.end(), a.aux.begin(), a.aux.begin() + static_cast<long>(n));
            if (n & 1) out.push_back(0);
        }
    }
    putWord(out, 0, 0);
    return out;
}

bool WfdbAnnotations::defined(uint8_t code) { return code <= kMaxCode && kMnemonics[code][0] != '\0'; }

std::string WfdbAnnotations::mnemonic(uint8_t code) {
    if (code > kMaxCode || kMnemonics[code][0] == '\0') return "?";
    return kMnemonics[code];
}

uint8_t WfdbAnnotations::codeOf(std::string_view m) {
    for (size_t c = 1; c <= kMaxCode; ++c)
        if (m == kMnemonics[c]) return static_cast<uint8_t>(c);
    return 0;
}

}  // namespace lumen
