// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>

#include "events/event_catalog.h"
#include "holter/tool_arguments.h"
#include "lang/language_texts.h"
#include "store/recording.h"
#include "store/trend_table.h"

namespace lumen {

// A recording brought up as the viewer brings it up at start-up: beats,
// trend tables and counts loaded, then every event fed into a catalog
// whose names are English.
struct FedRecording {
    std::unique_ptr<Recording> recording;
    TrendTable trends;
    LanguageTexts texts;
    std::unique_ptr<EventCatalog> catalog;

    // The row's short name as the tools print it: "To printer" for row 17.
    std::string_view rowName(int32_t row) const;
};

std::unique_ptr<FedRecording> feedRecording(const ToolArguments& arguments);

}  // namespace lumen
