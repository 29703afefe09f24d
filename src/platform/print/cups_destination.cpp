#include "platform/print/cups_destination.h"

#include <cups/cups.h>

namespace lumen {

namespace {

std::string cupsFailure(const std::string& what) { return what + ": " + cupsLastErrorString(); }

// The destination's own default media: the user's "media" option, else the
// queue's media-default (cupsGetDestMediaDefault alone falls back to Letter
// for a queue whose default is A4).
bool defaultMedia(cups_dest_t* destination, cups_dinfo_t* info, cups_size_t& size) {
    const char* media = cupsGetOption(CUPS_MEDIA, destination->num_options, destination->options);
    if (media == nullptr) {
        ipp_attribute_t* queueDefault = cupsFindDestDefault(CUPS_HTTP_DEFAULT, destination, info, CUPS_MEDIA);
        media = queueDefault != nullptr ? ippGetString(queueDefault, 0, nullptr) : nullptr;
    }
    const bool found = media != nullptr
                           ? cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, destination, info, media, 0, &size) != 0
                           : cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, destination, info, 0, &size) != 0;
    return found && size.width > 0 && size.length > 0;
}

}  // namespace

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
