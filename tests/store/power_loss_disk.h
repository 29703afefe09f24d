// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/file/durable_file.h"

namespace lumen::testing {

// What a power cut does with the writes not yet synced.
enum class PowerLoss { AllDropped, AllWritten, Mixed };

// A folder's plain files by name, as a power cut leaves them.
using FolderImage = std::map<std::string, std::vector<uint8_t>>;

// The disk under one folder as a power cut sees it. The real files stand
// for the page cache; the model keeps each file's bytes as last synced and
// every state it had since, and the folder's names as last synced and every
// set since. After a cut, each name is as last synced or as any set since,
// and each sector of a file that changed since its sync holds any of its
// states since, or garbage over the whole sector.
class PowerLossDisk final : public DurabilityWatch {
public:
    // The folder's files as they are count as synced.
    explicit PowerLossDisk(std::string folder);
    // Takes the folder's state after a disk step.
    void noteStep();
    // A Mixed cut draws its choices from `seed`.
    FolderImage afterPowerLoss(PowerLoss loss, uint32_t seed = 0) const;
    // Makes the folder's plain files exactly `image`.
    static void layDown(const std::string& folder, const FolderImage& image);

    void fileSynced(std::FILE* file) override;
    void folderSynced(const std::string& folder) override;

private:
    using Bytes = std::vector<uint8_t>;
    using FileKey = std::pair<uint64_t, uint64_t>;  // device, file number
    using Names = std::map<std::string, FileKey>;
    struct FileStates {
        Bytes synced;
        std::vector<Bytes> since;
    };

    Names currentNames() const;
    Bytes contentAfter(const FileStates& states, PowerLoss loss, std::mt19937& random) const;

    std::string folder_;
    std::map<FileKey, FileStates> files_;
    Names syncedNames_;
    std::vector<Names> namesSince_;
};

}  // namespace lumen::testing
