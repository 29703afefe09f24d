// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/import/source_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numbers>

#include "import/ishne/ishne_header.h"

namespace lumen::testing {
namespace {

constexpr int kEdfAnnotationBytes = 120;

std::string field(const std::string& text, size_t width) {
    std::string s = text.substr(0, width);
    s.resize(width, ' ');
    return s;
}

void put16(std::vector<uint8_t>& b, size_t at, int v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(std::vector<uint8_t>& b, size_t at, int64_t v) {
    for (int k = 0; k < 4; ++k) b[at + static_cast<size_t>(k)] = static_cast<uint8_t>(v >> (8 * k));
}

void writeBytes(const std::string& path, const std::string& bytes, size_t cutTo) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(cutTo ? cutTo : bytes.size()));
}

std::string edfHeader(const EdfFile& f) {
    const int signals = f.plus ? 3 : 2;
    std::string h = field("0", 8) + field("X X X X", 80) + field("Startdate 01-JAN-2020 X X X", 80) +
                    field("01.01.20", 8) + field("10.00.00", 8) + field(std::to_string(256 * (signals + 1)), 8) +
                    field(f.plus ? "EDF+C" : "", 44) + field(std::to_string(f.records), 8) + field(f.recordSeconds, 8) +
                    field(std::to_string(signals), 4);
    auto each = [&](const std::string& ecg, const std::string& annotation, size_t width) {
        h += field(ecg == "#" ? "ECG1" : ecg, width) + field(ecg == "#" ? "ECG2" : ecg, width);
        if (f.plus) h += field(annotation, width);
    };
    each("#", "EDF Annotations", 16);
    each("", "", 80);
    each(f.unit, "", 8);
    each(f.physicalMinimum, "-1", 8);
    each(f.physicalMaximum, "1", 8);
    each("-32768", "-32768", 8);
    each("32767", "32767", 8);
    each("", "", 80);
    each(std::to_string(f.samplesPerRecord), std::to_string(kEdfAnnotationBytes / 2), 8);
    each("", "", 32);
    return h;
}

std::string annotationRecord(const EdfFile& f, int record) {
    std::string tal = "+" + std::to_string(record) + "\x14\x14";
    tal += '\0';
    for (const auto& [onset, text] : f.annotations) {
        if (record != 0) break;
        char at[32];
        std::snprintf(at, sizeof at, "%+g", onset);
        tal += std::string(at) + "\x14" + text + "\x14";
        tal += '\0';
    }
    tal.resize(kEdfAnnotationBytes, '\0');
    return tal;
}

}  // namespace

void writeEdf(const std::string& path, const EdfFile& f) {
    std::string bytes = edfHeader(f);
    const double low = std::stod(f.physicalMinimum), high = std::stod(f.physicalMaximum);
    const double seconds = std::stod(f.recordSeconds) / f.samplesPerRecord;
    for (int r = 0; r < f.records; ++r) {
        for (int c = 0; c < 2; ++c)
            for (int k = 0; k < f.samplesPerRecord; ++k) {
                const double t = (r * f.samplesPerRecord + k) * seconds;
                const double mv = 3.0 * std::sin(2 * std::numbers::pi * 1.2 * t);
                const double digital = (mv / f.millivoltsPerUnit - low) / (high - low) * 65535.0 - 32768.0;
                const auto d = static_cast<int16_t>(std::clamp(std::lround(digital), -32768L, 32767L));
                bytes += static_cast<char>(d & 0xFF);
                bytes += static_cast<char>((d >> 8) & 0xFF);
            }
        if (f.plus) bytes += annotationRecord(f, r);
    }
    writeBytes(path, bytes, f.cutTo);
}

std::vector<int64_t> ishneBeatSamples(const IshneFile& f) {
    std::vector<int64_t> out;
    for (int64_t s = f.rateHz / 2; s < int64_t{f.rateHz} * f.seconds; s += f.rateHz * 4 / 5) out.push_back(s);
    return out;
}

void writeIshne(const std::string& stem, const IshneFile& f) {
    const int64_t samples = int64_t{f.rateHz} * f.seconds;
    auto header = [&](const char* magic) {
        std::vector<uint8_t> b(kIshneFixedHeaderEnd, 0);
        std::memcpy(b.data(), magic, 8);
        put32(b, 14, samples);
        put32(b, 18, kIshneFixedHeaderEnd);
        put32(b, 22, kIshneFixedHeaderEnd);
        if (f.named) {
            std::memcpy(b.data() + 68, "M\xfcller", 6);  // Latin-1, as writers in the field leave it
            for (const auto& [at, value] : {std::pair{138, 5}, {140, 11}, {142, 2023}, {150, 9}, {152, 30}})
                put16(b, at, value);
        }
        put16(b, 156, 2);
        put16(b, 158, 6);   // II
        put16(b, 160, 15);  // V5
        put16(b, 206, 2500);
        put16(b, 208, 2500);
        put16(b, 272, f.rateHz);
        put16(b, 8, IshneHeader::crc(std::span(b).subspan(10)));
        return b;
    };
    std::vector<uint8_t> ecg = header("ISHNE1.0");
    ecg.resize(ecg.size() + static_cast<size_t>(samples) * 4, 0);
    const std::vector<int64_t> beats = ishneBeatSamples(f);
    for (int64_t b : beats)
        for (int64_t s = b - 2; s <= b + 2 && s < samples; ++s) {
            put16(ecg, kIshneFixedHeaderEnd + static_cast<size_t>(s) * 4, 400);  // 1 mV
            put16(ecg, kIshneFixedHeaderEnd + static_cast<size_t>(s) * 4 + 2, 200);
        }
    writeBytes(stem + ".ecg", std::string(ecg.begin(), ecg.end()), 0);
    if (f.labels.empty()) return;
    std::vector<uint8_t> ann = header("ANN  1.0");
    ann.resize(ann.size() + 4 + beats.size() * 4, 0);
    for (size_t i = 0; i < beats.size(); ++i) {
        const size_t at = kIshneFixedHeaderEnd + 4 + i * 4;
        ann[at] = static_cast<uint8_t>(f.labels[i % f.labels.size()]);
        put16(ann, at + 2, static_cast<int>(beats[i] - (i == 0 ? 0 : beats[i - 1])));
    }
    writeBytes(stem + ".ann", std::string(ann.begin(), ann.end()), 0);
}

std::vector<uint8_t> format16(const std::vector<int16_t>& interleaved) {
    std::vector<uint8_t> out;
    for (int16_t v : interleaved) {
        out.push_back(static_cast<uint8_t>(v & 0xFF));
        out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    return out;
}

}  // namespace lumen::testing
