// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_facts.h"

#include <fstream>

#include "lang/beat_statistics_text.h"
#include "lang/language_texts.h"
#include "platform/file/utf8_path.h"
#include "print/report_catalog.h"
#include "store/recording.h"
#include "store/trend_table.h"

namespace lumen {

namespace {

constexpr std::streamsize kVersionBytes = 99;

std::string withoutLineBreaks(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

ReportFacts gatherReportFacts(Recording& recording, const TrendTable& trends, EventCatalog& catalog,
                              const LanguageTexts& texts, std::string eventCaption) {
    ReportFacts facts;
    facts.patientLine = texts.decodeRecordingText(withoutLineBreaks(recording.readPatientLine()));
    recording.beats().count();
    facts.statistics = beatStatisticsText(texts.text(TextId::BeatStatistics), recording.beats().counts());
    facts.eventCaption = std::move(eventCaption);
    facts.versionText = readVersionText("version.dat", texts);
    takeSelectedEvent(catalog, trends, facts);
    return facts;
}

std::string readVersionText(const std::string& path, const LanguageTexts& texts) {
    std::ifstream file(pathFromUtf8(path), std::ios::binary);
    if (!file) {
        return {};
    }
    std::string bytes(static_cast<size_t>(kVersionBytes), '\0');
    file.read(bytes.data(), kVersionBytes);
    bytes.resize(static_cast<size_t>(file.gcount()));
    if (const size_t end = bytes.find('\0'); end != std::string::npos) {
        bytes.resize(end);
    }
    return texts.decodeRecordingText(withoutLineBreaks(bytes));
}

}  // namespace lumen
