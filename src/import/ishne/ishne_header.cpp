// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/ishne/ishne_header.h"

#include <algorithm>
#include <cstring>

#include "import/import_error.h"

namespace lumen {
namespace {

constexpr size_t kMagicBytes = 8;
constexpr size_t kCrcOffset = 8;
constexpr size_t kCrcStart = 10;
constexpr int64_t kMaxVariableBlock = 1 << 20;
constexpr const char* kCopyAgain = " Copy the whole file again from the recorder or its card and import that.";

int32_t i32(std::span<const uint8_t> b, size_t at) {
    return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24));
}

int16_t i16(std::span<const uint8_t> b, size_t at) { return static_cast<int16_t>(b[at] | (b[at + 1] << 8)); }

std::string text(std::span<const uint8_t> b, size_t at, size_t size) {
    std::string s(reinterpret_cast<const char*>(b.data() + at), size);
    s.resize(std::strlen(s.c_str()));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

uint16_t IshneHeader::crc(std::span<const uint8_t> bytes) {
    uint16_t crc = 0xFFFF;
    for (uint8_t byte : bytes) {
        crc ^= static_cast<uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit) crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

size_t IshneHeader::headerBytes(std::span<const uint8_t> start) {
    if (start.size() < kIshneFixedHeaderEnd) return 0;
    const int32_t variable = i32(start, kCrcStart);
    if (variable < 0 || variable > kMaxVariableBlock) return 0;
    return kIshneFixedHeaderEnd + static_cast<size_t>(variable);
}

IshneHeader IshneHeader::parse(std::span<const uint8_t> b, const std::string& fileName, const char* magic) {
    const size_t compared = std::min(b.size(), kMagicBytes);
    if (b.empty() || std::memcmp(b.data(), magic, compared) != 0)
        throw ImportError(fileName, std::string("not an ISHNE file (no \"") + magic + "\" at the start)");
    if (b.size() < kIshneFixedHeaderEnd) {
        throw ImportError(fileName, "cut short: the file ends inside its header, after " + std::to_string(b.size()) +
                                        " of " + std::to_string(kIshneFixedHeaderEnd) + " bytes." + kCopyAgain);
    }
    const size_t size = headerBytes(b);
    if (size == 0) {
        throw ImportError(fileName, "the header gives an impossible size for its variable block (" +
                                        std::to_string(i32(b, kCrcStart)) + " bytes): the header is damaged." +
                                        kCopyAgain);
    }
    if (size > b.size()) {
        throw ImportError(fileName, "cut short: the header with its variable block takes " + std::to_string(size) +
                                        " bytes, the file holds " + std::to_string(b.size()) + "." + kCopyAgain);
    }
    const auto stored = static_cast<uint16_t>(i16(b, kCrcOffset));
    IshneHeader h;
    h.crcMatches = crc(b.subspan(kCrcStart, size - kCrcStart)) == stored;
    h.samplesPerLead = i32(b, 14);
    h.variableBlockOffset = i32(b, 18);
    h.dataOffset = i32(b, 22);
    h.firstName = text(b, 28, 40);
    h.lastName = text(b, 68, 40);
    h.id = text(b, 108, 20);
    for (int k = 0; k < 3; ++k) h.recordDate[static_cast<size_t>(k)] = i16(b, 138 + 2 * static_cast<size_t>(k));
    for (int k = 0; k < 3; ++k) h.startTime[static_cast<size_t>(k)] = i16(b, 150 + 2 * static_cast<size_t>(k));
    h.leads = i16(b, 156);
    for (size_t k = 0; k < kIshneMaxLeads; ++k) {
        h.leadSpec[k] = i16(b, 158 + 2 * k);
        h.resolutionNv[k] = i16(b, 206 + 2 * k);
    }
    h.samplingRate = i16(b, 272);
    if (h.dataOffset < static_cast<int64_t>(size)) {
        throw ImportError(fileName, "the header puts the data block at byte " + std::to_string(h.dataOffset) +
                                        ", inside the header's " + std::to_string(size) +
                                        " bytes: the header is damaged." + kCopyAgain);
    }
    return h;
}

std::string IshneHeader::leadName(int leadCode) {
    static constexpr const char* kNames[] = {"unknown", "bipolar", "X",  "Y",  "Z",  "I",  "II", "III", "aVR", "aVL",
                                             "aVF",     "V1",      "V2", "V3", "V4", "V5", "V6", "ES",  "AS",  "AI"};
    return leadCode >= 0 && leadCode < static_cast<int>(std::size(kNames)) ? kNames[leadCode]
                                                                           : "lead " + std::to_string(leadCode);
}

std::vector<IshneAnnotation> parseIshneAnnotations(std::span<const uint8_t> b, const std::string& fileName) {
    const IshneHeader h = IshneHeader::parse(b, fileName, "ANN  1.0");
    auto at = static_cast<size_t>(h.dataOffset);
    if (at + 4 > b.size()) throw ImportError(fileName, "no annotation block after the header");
    int64_t sample = static_cast<uint32_t>(i32(b, at));
    at += 4;
    // Zero words at the end are padding; a NUL label inside the list is an
    // annotation of no known kind, and the samples after it still count on.
    size_t end = b.size() - (b.size() - at) % 4;
    while (end >= at + 4 && i32(b, end - 4) == 0) end -= 4;
    std::vector<IshneAnnotation> out;
    for (; at + 4 <= end; at += 4) {
        sample += static_cast<uint16_t>(i16(b, at + 2));
        out.push_back({sample, static_cast<char>(b[at])});
    }
    return out;
}

}  // namespace lumen
