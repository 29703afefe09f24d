// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/gdi_print_job.h"

#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/file/utf8_path.h"
#include "platform/win32/wide_text.h"

namespace lumen {

namespace {

constexpr int kHundredthMmPerInch = 2540;
constexpr short kFullScale = 100;

std::string withError(const std::string& what) { return what + " (error " + std::to_string(GetLastError()) + ")"; }

constexpr std::string_view kPdfMagic = "%PDF-";

// A printer given an output file writes what its driver makes, which need
// not be PDF (a PostScript driver writes PostScript). A PDF printer may still
// be writing the file when the document ends, so only a file whose first
// bytes are already there and are not a PDF's is refused.
bool beginsAsOtherThanPdf(const std::string& path) {
    std::ifstream file(pathFromUtf8(path), std::ios::binary);
    std::string magic(kPdfMagic.size(), '\0');
    return file.read(magic.data(), static_cast<std::streamsize>(magic.size())) && magic != kPdfMagic;
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

// A page of another orientation than the last asks the driver to turn the
// sheet before the page starts; a driver that cannot keeps its orientation.
void GdiPrintJob::orient(PageOrientation orientation) {
    if (orientation == orientation_) return;
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_ORIENTATION | DM_SCALE;
    mode.dmOrientation = orientation == PageOrientation::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    mode.dmScale = kFullScale;
    if (ResetDCW(dc_, &mode) != nullptr) orientation_ = orientation;
}

Canvas& GdiPrintJob::startPage(PageOrientation orientation) {
    if (page_) endPage();
    orient(orientation);
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
    if (outputFile_ && beginsAsOtherThanPdf(*outputFile_)) {
        DeleteFileW(pathFromUtf8(*outputFile_).c_str());
        failure_ = "the printer wrote something other than PDF into " + *outputFile_ +
                   ", so that file was removed; print to a printer that writes PDF, such as Microsoft Print to PDF";
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
