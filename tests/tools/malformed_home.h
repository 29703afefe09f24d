// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "shell/lumen_run.h"

namespace lumen::testing {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// A one-hour demo home whose files a test damages on purpose.
class MalformedHome : public DemoHome {
public:
    struct Entry {
        size_t at = 0;  // file offset of the directory entry
        uint32_t length = 0;
        uint32_t offset = 0;
    };

    std::vector<uint8_t> image() const { return readFile(recordingPath("holter.mem")); }
    void setImage(const std::vector<uint8_t>& bytes) const { writeFile(recordingPath("holter.mem"), bytes); }
    // The first directory entry with this id (the demo has every id 1..24).
    Entry entry(uint8_t id) const;
    void setEntry(uint8_t id, std::optional<uint32_t> length, std::optional<uint32_t> offset) const;
    void cutAt(size_t size) const;
    // Calls `edit` on the section's bytes and writes the file back.
    void editSection(uint8_t id, const std::function<void(std::span<uint8_t>)>& edit) const;
    // Every beat word of section 21 through `edit`; the list may shrink.
    void editBeats(const std::function<void(std::vector<uint32_t>&)>& edit) const;
    // Every 12-byte episode record of section 19.
    void editEpisodes(const std::function<void(std::span<uint8_t, 12>)>& edit) const;
    // Every line "value length code" of huffman.ko2 through `edit`.
    void editCodeTable(const std::function<std::string(int index, int value, int length, int code)>& edit) const;
    // A folder where the file was: present, but not a file that can be read.
    void replaceByFolder(const std::string& name) const;
};

// Runs the holter tool with the words after its name.
ToolRun runHolter(const TempHome& home, const std::string& arguments);

uint32_t readU24(std::span<const uint8_t> bytes, size_t at);
void writeU24(std::span<uint8_t> bytes, size_t at, uint32_t value);

}  // namespace lumen::testing
