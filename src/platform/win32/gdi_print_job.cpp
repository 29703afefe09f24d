#include "platform/win32/gdi_print_job.h"

#include <filesystem>
#include <fstream>

#include "platform/win32/wide_text.h"

namespace lumen {

namespace {

constexpr int kHundredthMmPerInch = 2540;
constexpr short kFullScale = 100;

std::string withError(const std::string& what) { return what + " (error " + std::to_string(GetLastError()) + ")"; }

// Under Wine every printer is a CUPS queue driven by Wine's PostScript
// driver, so a "PDF" printer given an output file writes PostScript there.
// A PDF printer on Windows may still be writing the file when the document
// ends, so only a file that already begins as PostScript is refused.
bool beginsAsPostScript(const std::string& path) {
    std::ifstream file(std::filesystem::path(wideFromUtf8(path)), std::ios::binary);
    char magic[2]{};
    return file.read(magic, sizeof magic) && magic[0] == '%' && magic[1] == '!';
}

}  // namespace

// As the report always asked: portrait at 100 %, and once more without a
// device mode when the driver refuses that one.
std::unique_ptr<GdiPrintJob> GdiPrintJob::open(const std::string& printerName, std::optional<std::string> outputFile,
                                               std::string& failure) {
    const std::wstring device = wideFromUtf8(printerName);
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_ORIENTATION | DM_SCALE;
    mode.dmOrientation = DMORIENT_PORTRAIT;
    mode.dmScale = kFullScale;
    HDC dc = CreateDCW(L"WINSPOOL", device.c_str(), nullptr, &mode);
    if (dc == nullptr) dc = CreateDCW(L"WINSPOOL", device.c_str(), nullptr, nullptr);
    if (dc == nullptr) {
        failure = withError("cannot open the printer \"" + printerName + "\"");
        return nullptr;
    }
    return std::unique_ptr<GdiPrintJob>(new GdiPrintJob(dc, std::move(outputFile)));
}

GdiPrintJob::~GdiPrintJob() {
    if (started_) abort();
    DeleteDC(dc_);
}

Size GdiPrintJob::pageHundredthMm() const {
    return Size{GetDeviceCaps(dc_, PHYSICALWIDTH) * kHundredthMmPerInch / GetDeviceCaps(dc_, LOGPIXELSX),
                GetDeviceCaps(dc_, PHYSICALHEIGHT) * kHundredthMmPerInch / GetDeviceCaps(dc_, LOGPIXELSY)};
}

bool GdiPrintJob::beginDocument(std::string_view documentName) {
    const std::wstring name = wideFromUtf8(documentName);
    const std::wstring output = outputFile_ ? wideFromUtf8(*outputFile_) : std::wstring();
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name.c_str();
    document.lpszOutput = outputFile_ ? output.c_str() : nullptr;
    started_ = StartDocW(dc_, &document) > 0;
    if (!started_) failure_ = withError("the printer refused the document");
    return started_;
}

Canvas& GdiPrintJob::startPage() {
    if (page_) endPage();
    StartPage(dc_);
    page_ = std::make_unique<GdiCanvas>(dc_, MapMode::HundredthMillimetre);
    return *page_;
}

void GdiPrintJob::endPage() {
    if (!page_) return;
    page_.reset();
    EndPage(dc_);
}

bool GdiPrintJob::endDocument() {
    endPage();
    if (!started_) return false;
    started_ = false;
    if (EndDoc(dc_) <= 0) {
        failure_ = withError("the printer did not take the document");
        return false;
    }
    if (outputFile_ && beginsAsPostScript(*outputFile_)) {
        DeleteFileW(wideFromUtf8(*outputFile_).c_str());
        failure_ = "the PDF printer wrote PostScript, not PDF, so " + *outputFile_ + " was removed";
        return false;
    }
    return true;
}

void GdiPrintJob::abort() {
    page_.reset();
    if (started_) AbortDoc(dc_);
    started_ = false;
}

}  // namespace lumen
