// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/power_loss_disk.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/file/file_identity.h"

namespace lumen::testing {
namespace {

namespace fs = std::filesystem;

// The unit a disk writes whole, or not at all, or garbles.
constexpr size_t kSectorBytes = 512;

std::vector<uint8_t> contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename T>
const T& pick(const std::vector<T>& choices, PowerLoss loss, std::mt19937& random) {
    if (loss == PowerLoss::AllDropped) return choices.front();
    if (loss == PowerLoss::AllWritten) return choices.back();
    return choices[random() % choices.size()];
}

}  // namespace

PowerLossDisk::PowerLossDisk(std::string folder) : folder_(std::move(folder)) {
    syncedNames_ = currentNames();
    for (const auto& [name, key] : syncedNames_) files_[key].synced = contentOf(fs::path(folder_) / name);
}

PowerLossDisk::Names PowerLossDisk::currentNames() const {
    Names names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
        const auto identity = identityOf(entry.path().string());
        if (entry.is_regular_file() && identity) {
            names[entry.path().filename().string()] = {identity->device, identity->fileNumber};
        }
    }
    return names;
}

void PowerLossDisk::noteStep() {
    namesSince_.push_back(currentNames());
    for (const auto& [name, key] : namesSince_.back()) {
        files_[key].since.push_back(contentOf(fs::path(folder_) / name));
    }
}

void PowerLossDisk::fileSynced(std::FILE* file) {
    const auto identity = identityOf(file);
    if (!identity) return;
    for (const auto& [name, key] : currentNames()) {
        if (key == FileKey{identity->device, identity->fileNumber}) {
            files_[key] = FileStates{contentOf(fs::path(folder_) / name), {}};
        }
    }
}

void PowerLossDisk::folderSynced(const std::string& folder) {
    std::error_code error;
    if (!fs::equivalent(folder, folder_, error)) return;
    syncedNames_ = currentNames();
    namesSince_.clear();
}

FolderImage PowerLossDisk::afterPowerLoss(PowerLoss loss, uint32_t seed) const {
    std::mt19937 random(seed);
    std::vector<const Names*> states{&syncedNames_};
    for (const Names& names : namesSince_) states.push_back(&names);
    // Every name the folder held since its sync, and what it named each time.
    std::map<std::string, std::vector<std::optional<FileKey>>> choices;
    for (const Names* names : states) {
        for (const auto& entry : *names) choices[entry.first];
    }
    for (const Names* names : states) {
        for (auto& [name, list] : choices) {
            const auto found = names->find(name);
            list.push_back(found != names->end() ? std::optional(found->second) : std::nullopt);
        }
    }

    FolderImage image;
    std::map<FileKey, Bytes> contents;  // a file under two names has one content
    for (const auto& [name, list] : choices) {
        const std::optional<FileKey> key = pick(list, loss, random);
        if (!key) continue;
        if (!contents.contains(*key)) contents[*key] = contentAfter(files_.at(*key), loss, random);
        image[name] = contents[*key];
    }
    return image;
}

PowerLossDisk::Bytes PowerLossDisk::contentAfter(const FileStates& states, PowerLoss loss, std::mt19937& random) const {
    std::vector<Bytes> versions{states.synced};
    versions.insert(versions.end(), states.since.begin(), states.since.end());
    if (loss != PowerLoss::Mixed) return pick(versions, loss, random);
    Bytes out(pick(versions, loss, random).size());
    for (size_t start = 0; start < out.size(); start += kSectorBytes) {
        const size_t end = std::min(out.size(), start + kSectorBytes);
        std::vector<Bytes> sectors;
        for (const Bytes& version : versions) {
            Bytes sector(end - start, 0);
            for (size_t i = start; i < end && i < version.size(); ++i) sector[i - start] = version[i];
            if (std::find(sectors.begin(), sectors.end(), sector) == sectors.end()) sectors.push_back(sector);
        }
        // A sector being written may come back as garbage, whole: the disk
        // owes nothing to the bytes beside the write (no powersafe overwrite).
        const size_t choice = sectors.size() == 1 ? 0 : random() % (sectors.size() + 1);
        if (choice == sectors.size()) {
            for (uint8_t& byte : sectors[0]) byte = static_cast<uint8_t>(random());
        }
        const Bytes& sector = sectors[choice == sectors.size() ? 0 : choice];
        std::copy(sector.begin(), sector.end(), out.begin() + static_cast<ptrdiff_t>(start));
    }
    return out;
}

void PowerLossDisk::layDown(const std::string& folder, const FolderImage& image) {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) fs::remove(entry.path());
    }
    for (const auto& [name, bytes] : image) {
        std::ofstream out(fs::path(folder) / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
}

}  // namespace lumen::testing
