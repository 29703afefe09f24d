// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding the signal of a whole 24-hour recording, both channels: the
// table-driven decoder against the literal bit-by-bit table scan, on the
// same records, and the full fetch path the viewer uses.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_home.h"
#include "store/channel_decoder.h"
#include "store/code_table.h"
#include "store/recording.h"
#include "literal_channel_decoder.h"

namespace lumen {
namespace {

struct DecodeInput {
    CodeTable table;
    std::vector<ChannelRecord> records;
};

ChannelRecord readRecord(const RecordingFile& file, uint64_t at) {
    ChannelRecord record;
    record.bitCount = static_cast<uint16_t>(file.readU8(at) | file.readU8(at + 1) << 8);
    record.firstSample = file.readU8(at + 2);
    file.readAt(at + 3, std::span(record.data).first(std::min(record.storedDataBytes(), kMaxRecordDataBytes)));
    return record;
}

const DecodeInput& decodeInput() {
    static const DecodeInput input = [] {
        DecodeInput in;
        in.table = loadCodeTable(bench::demoHome24h());
        Recording recording(bench::demoHome24h());
        recording.selectBlockIndex();
        const SectionPlace index = recording.selectedSection();
        for (int32_t b = 0; b < recording.blockCount(); ++b) {
            const uint64_t at = uint64_t{recording.file().readU24(index.offset + 3ull * b)} + 9;
            in.records.push_back(readRecord(recording.file(), at));
            in.records.push_back(readRecord(recording.file(), at + 3 + in.records.back().storedDataBytes()));
        }
        return in;
    }();
    return input;
}

// Both decoders give the same counts and samples on every record of the
// day; checked once, so that a fast figure is never one of a wrong decoder.
bool decodersAgree() {
    static const bool agree = [] {
        const DecodeInput& input = decodeInput();
        const ChannelDecoder decoder(input.table);
        std::array<uint8_t, 500> fast{};
        std::array<uint8_t, 500> literal{};
        for (const ChannelRecord& record : input.records) {
            if (decoder.decode(record, fast) != testing::decodeChannelLiteral(input.table, record, literal)) return false;
            if (fast != literal) return false;
        }
        return true;
    }();
    return agree;
}

void BM_DecodeRecordingTableDriven(benchmark::State& state) {
    const DecodeInput& input = decodeInput();
    if (!decodersAgree()) state.SkipWithError("the table-driven decoder differs from the literal scan");
    const ChannelDecoder decoder(input.table);
    std::array<uint8_t, 500> samples{};
    for (auto _ : state) {
        int64_t total = 0;
        for (const ChannelRecord& record : input.records) total += decoder.decode(record, samples);
        benchmark::DoNotOptimize(total);
    }
    state.counters["blocks"] = static_cast<double>(input.records.size() / 2);
}
BENCHMARK(BM_DecodeRecordingTableDriven)->Unit(benchmark::kMillisecond);

void BM_DecodeRecordingLiteralScan(benchmark::State& state) {
    const DecodeInput& input = decodeInput();
    if (!decodersAgree()) state.SkipWithError("the table-driven decoder differs from the literal scan");
    std::array<uint8_t, 500> samples{};
    for (auto _ : state) {
        int64_t total = 0;
        for (const ChannelRecord& record : input.records) total += testing::decodeChannelLiteral(input.table, record, samples);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_DecodeRecordingLiteralScan)->Unit(benchmark::kMillisecond)->Iterations(2);

// What the viewer does for every block: the whole fetch, index to samples.
void BM_FetchEveryBlock(benchmark::State& state) {
    Recording recording(bench::demoHome24h());
    recording.selectBlockIndex();
    std::array<uint8_t, 500> one{};
    std::array<uint8_t, 500> two{};
    for (auto _ : state) {
        for (int32_t b = 0; b < recording.blockCount(); ++b) benchmark::DoNotOptimize(recording.fetchBlock(one, two, b, b));
    }
}
BENCHMARK(BM_FetchEveryBlock)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumen
