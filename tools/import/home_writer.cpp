#include "import/home_writer.h"

#include <filesystem>
#include <fstream>
#include <span>

#include "demo/home_files.h"
#include "platform/file/scratch_path.h"
#include "platform/file/utf8_path.h"

namespace lumen {
namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxRecordingPath = 299;  // what path.tmp's reader takes
constexpr int32_t kTimeScaleStart = 117;

bool writeBytes(const fs::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

bool writeText(const fs::path& path, const std::string& text) {
    return writeBytes(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

fs::path homePath(const std::string& directory) {
    std::error_code error;
    return fs::absolute(pathFromUtf8(directory), error).lexically_normal();
}

}  // namespace

std::string HomeWriter::checkTarget(const std::string& directory, bool replace) {
    const fs::path home = homePath(directory);
    const std::string recording = utf8FromPath(home / "recording");
    if (directory.empty() || recording.find_first_of(" \t\r\n\v\f") != std::string::npos ||
        recording.size() > kMaxRecordingPath)
        return "the recording path must be one word of at most 299 characters: " + recording;
    std::error_code error;
    if (fs::exists(home, error) && !replace) return utf8FromPath(home) + " exists; --force replaces it";
    return {};
}

std::string HomeWriter::write(const std::string& directory, const DemoRecording& r, int language, bool replace) {
    if (std::string problem = checkTarget(directory, replace); !problem.empty()) return problem;
    const fs::path home = homePath(directory);
    const fs::path scratch = scratchPathIn(home.parent_path(), utf8FromPath(home.filename()));
    std::error_code error;
    fs::remove_all(scratch, error);
    fs::create_directories(scratch / "recording", error);
    if (error) return "cannot create " + utf8FromPath(scratch) + ": " + error.message();
    const bool written = writeText(scratch / "huffman.ko2", formatCodeTable(r.codeTable)) &&
                         writeText(scratch / "color.ini", HomeFiles::colorIni(language)) &&
                         writeText(scratch / "TBcolor.ini", HomeFiles::tbColorIni()) &&
                         writeText(scratch / "doef.mem", HomeFiles::doefMem(0, kTimeScaleStart)) &&
                         writeText(scratch / "path.tmp", HomeFiles::pathTmp(utf8FromPath(home / "recording"))) &&
                         writeBytes(scratch / "recording" / "holter.mem", r.holterMem) &&
                         writeBytes(scratch / "recording" / "forms.mem", r.formsMem);
    if (written && replace) fs::remove_all(home, error);
    if (written && !error) fs::rename(scratch, home, error);
    if (!written || error) {
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
        return "cannot write the files of " + utf8FromPath(home) + (error ? ": " + error.message() : "");
    }
    return {};
}

}  // namespace lumen
