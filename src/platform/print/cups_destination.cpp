// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/cups_destination.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

namespace lumen {

namespace {

std::string cupsFailure(const std::string& what) { return what + ": " + cupsLastErrorString(); }

bool usable(const cups_size_t& size) { return size.width > 0 && size.length > 0; }

bool mediaByName(cups_dest_t* destination, cups_dinfo_t* info, const char* media, cups_size_t& size) {
    return media != nullptr && *media != '\0' &&
           cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, destination, info, media, 0, &size) != 0 && usable(size);
}

// A queue whose PPD's default PageSize has no PWG name of its own (Letter,
// shared with AnsiA) reports an empty media-default, but still the size.
bool mediaOfDefaultCollection(cups_dest_t* destination, cups_dinfo_t* info, cups_size_t& size) {
    ipp_attribute_t* media = cupsFindDestDefault(CUPS_HTTP_DEFAULT, destination, info, "media-col");
    ipp_t* sizeCollection =
        media != nullptr
            ? ippGetCollection(ippFindAttribute(ippGetCollection(media, 0), "media-size", IPP_TAG_BEGIN_COLLECTION), 0)
            : nullptr;
    if (sizeCollection == nullptr) return false;
    const int width = ippGetInteger(ippFindAttribute(sizeCollection, "x-dimension", IPP_TAG_INTEGER), 0);
    const int length = ippGetInteger(ippFindAttribute(sizeCollection, "y-dimension", IPP_TAG_INTEGER), 0);
    return width > 0 && length > 0 &&
           cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, destination, info, width, length, 0, &size) != 0 && usable(size);
}

// The PPD as the scheduler holds it; "" when the queue has none.
std::string ppdTextOf(const char* name) {
    char path[1024] = "";
    time_t modified = 0;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const http_status_t status = cupsGetPPD3(CUPS_HTTP_DEFAULT, name, &modified, path, sizeof path);
#pragma GCC diagnostic pop
    if (status != HTTP_STATUS_OK) return {};
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    ::unlink(path);
    return text.str();
}

// The destination's own default media: the user's "media" option, else
// what the queue reports as its default (media-default, media-col-default,
// the PPD's default PageSize). cupsGetDestMediaDefault only reads the
// option and otherwise answers Letter, even for an A4 queue: it comes last.
bool defaultMedia(cups_dest_t* destination, cups_dinfo_t* info, cups_size_t& size) {
    if (mediaByName(destination, info, cupsGetOption(CUPS_MEDIA, destination->num_options, destination->options),
                    size)) {
        return true;
    }
    ipp_attribute_t* queueDefault = cupsFindDestDefault(CUPS_HTTP_DEFAULT, destination, info, CUPS_MEDIA);
    if (queueDefault != nullptr && mediaByName(destination, info, ippGetString(queueDefault, 0, nullptr), size)) {
        return true;
    }
    if (mediaOfDefaultCollection(destination, info, size)) return true;
    const std::optional<PaperSize> ppdPaper = CupsDestination::ppdDefaultPaper(ppdTextOf(destination->name));
    if (ppdPaper && mediaByName(destination, info, ppdPaper->media.c_str(), size)) return true;
    return cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, destination, info, 0, &size) != 0 && usable(size);
}

}  // namespace

std::optional<PaperSize> CupsDestination::ppdDefaultPaper(std::string_view ppdText) {
    constexpr std::string_view kKey = "*DefaultPageSize:";
    const size_t at = ppdText.find(kKey);
    if (at == std::string_view::npos) return std::nullopt;
    std::istringstream line(std::string(ppdText.substr(at + kKey.size(), ppdText.find('\n', at) - at - kKey.size())));
    std::string name;
    line >> name;
    const pwg_media_t* media = name.empty() ? nullptr : pwgMediaForPPD(name.c_str());
    if (media == nullptr || media->width <= 0 || media->length <= 0) return std::nullopt;
    return PaperSize{Size{media->width, media->length}, media->pwg};
}

std::optional<PaperSize> CupsDestination::defaultPaper(std::string& failure) const {
    const size_t slash = printerName_.find('/');
    const std::string name = printerName_.substr(0, slash);
    const std::string instance = slash == std::string::npos ? "" : printerName_.substr(slash + 1);
    cups_dest_t* destination =
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), instance.empty() ? nullptr : instance.c_str());
    if (destination == nullptr) {
        failure = cupsFailure("CUPS has no printer \"" + printerName_ + "\"");
        return std::nullopt;
    }
    PaperSize paper{PaperSize::a4().hundredthMm, ""};
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, destination);
    cups_size_t size{};
    if (info != nullptr && defaultMedia(destination, info, size)) {
        paper = PaperSize{Size{size.width, size.length}, size.media};
    }
    cupsFreeDestInfo(info);
    cupsFreeDests(1, destination);
    return paper;
}

// A report scaled to fit would no longer be 25 mm/s and 10 mm/mV.
bool CupsDestination::submit(const std::string& pdfPath, std::string_view documentName, const PaperSize& paper,
                             std::string& failure) const {
    cups_option_t* options = nullptr;
    int count = 0;
    if (!paper.media.empty()) {
        count = cupsAddOption("media", paper.media.c_str(), count, &options);
    }
    count = cupsAddOption("print-scaling", "none", count, &options);
    count = cupsAddOption("fit-to-page", "false", count, &options);
    const std::string destination = printerName_.substr(0, printerName_.find('/'));
    const int job =
        cupsPrintFile(destination.c_str(), pdfPath.c_str(), std::string(documentName).c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0) {
        failure = cupsFailure("CUPS did not take the job for \"" + printerName_ + "\"");
    }
    return job != 0;
}

}  // namespace lumen
