// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/fed_recording.h"

#include "holter/recording_opener.h"
#include "store/event_feed.h"

namespace lumen {

std::string_view FedRecording::rowName(int32_t row) const { return catalog->row(row).shortName(); }

std::unique_ptr<FedRecording> feedRecording(const ToolArguments& arguments) {
    auto fed = std::make_unique<FedRecording>();
    fed->recording = openRecording(arguments, 0);
    fed->recording->beats().load(*fed->recording);
    fed->trends.load(*fed->recording);
    fed->catalog = std::make_unique<EventCatalog>(fed->texts);
    feedEvents(*fed->recording, fed->trends, *fed->catalog);
    return fed;
}

}  // namespace lumen
