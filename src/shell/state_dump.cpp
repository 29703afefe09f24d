// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/state_dump.h"

#include "lang/json_text.h"
#include "store/form_census.h"

namespace lumen {
namespace {

void writePlace(JsonText& json, std::string_view key, const Rect& place) {
    json.numbers(key, {place.left, place.top, place.width(), place.height()});
}

void writeLayout(JsonText& json, const ShellLayout& layout) {
    json.beginObject("layout");
    writePlace(json, "title", layout.titlePlace);
    writePlace(json, "browser", layout.browserPlace);
    writePlace(json, "ecg", layout.ecgPlace);
    const Rect& status = layout.statusRect;
    json.numbers("status", {status.left, status.top, status.right, status.bottom});
    json.number("stripWidth", layout.stripWidth)
        .number("buttonUnit", layout.buttonUnit)
        .number("buttonHeight", layout.buttonHeight)
        .number("ecgButtonHalf", layout.ecgButtonHalf)
        .number("ecgButtonHeight", layout.ecgButtonHeight);
    json.endObject();
}

void writeCatalog(JsonText& json, const EventCatalog* catalog) {
    json.beginObject("catalog");
    if (catalog != nullptr) {
        const TimelineLayout& timeline = catalog->screenLayout();
        json.number("selectedRow", catalog->selectedRow())
            .number("cursorTime", catalog->cursorTime())
            .number("cursorPosition", catalog->cursorPosition())
            .number("zoomed", timeline.zoomed() ? 1 : 0)
            .number("windowStart", timeline.windowStart())
            .number("windowEnd", timeline.windowEnd())
            .number("extremesValid", catalog->extremesValid() ? 1 : 0);
        json.beginArray("rows");
        for (int32_t r = 0; r < kRowCount; ++r) {
            const EventSource& row = catalog->row(r);
            json.beginObject()
                .string("name", row.shortName())
                .number("count", row.count())
                .number("ordinal", row.currentOrdinal())
                .number("currentTime", row.currentTime())
                .endObject();
        }
        json.endArray();
    }
    json.endObject();
}

void writeTexts(JsonText& json, std::string_view key, const PaneTexts& texts) {
    json.beginObject(key).string("left", texts.left).string("right", texts.right).endObject();
}

void writeStrip(JsonText& json, const StripPainter* painter) {
    const StripView view = painter != nullptr ? painter->view() : StripView{};
    json.beginObject("strip")
        .number("pixelsPerSample", view.pixelsPerSample)
        .number("amplitudeStep", view.amplitudeStep)
        .number("channelMode", view.channelMode)
        .number("selectedBeat", view.selectedBeat)
        .number("selectedClass", view.selectedClass)
        .number("slotA", view.slotA)
        .number("offsetA", view.offsetA)
        .number("slotB", view.slotB)
        .number("offsetB", view.offsetB)
        .number("windowStart", view.windowStart)
        .number("selectedBeatPosition", painter != nullptr ? painter->selectedBeatPosition() : -1)
        .endObject();
    const Caliper caliper = painter != nullptr ? painter->caliper() : Caliper{};
    json.beginObject("caliper")
        .number("firstColumn", caliper.firstColumn)
        .number("secondColumn", caliper.secondColumn)
        .endObject();
}

// Every form of the beats as they stand (the view open or not), and the view.
void writeForms(JsonText& json, const ViewerModel& model) {
    json.beginArray("forms");
    if (model.recording) {
        for (const FormSummary& form : FormCensus::take(model.recording->beats().words())) {
            json.beginObject()
                .number("id", form.id)
                .string("class", std::string(1, kBeatClassLetters[static_cast<size_t>(form.majority())]))
                .number("count", form.count)
                .endObject();
        }
    }
    json.endArray();
    const FormTile* selected = model.forms.isOpen() ? model.forms.selected() : nullptr;
    json.beginObject("formsView")
        .boolean("open", model.forms.isOpen())
        .number("selectedForm", selected != nullptr ? selected->id : -1)
        .endObject();
}

}  // namespace

std::string stateDumpText(const WindowSystem& system, ViewerModel& model, const DumpExtras& extras) {
    JsonText json;
    json.beginObject();
    json.numbers("screen", {system.systemMetrics(SM_CXSCREEN), system.systemMetrics(SM_CYSCREEN)});
    const Rect client = system.isWindow(model.shell.mainWindow) ? system.clientRect(model.shell.mainWindow) : Rect{};
    json.numbers("client", {client.width(), client.height()});
    json.number("screenClass", model.layout.screenClass);
    writeLayout(json, model.layout);
    json.number("languageIndex", model.texts.languageIndex())
        .string("titleText", model.shell.titleText)
        .string("windowTitle", system.windowText(model.shell.mainWindow))
        .number("firstBlock", model.shell.firstBlock)
        .number("labelChangeState", model.shell.labelChangeState)
        .number("labelChangeCount", model.shell.labelChangeCount)
        .number("printerIndex", model.shell.printerIndex);
    writeCatalog(json, model.catalog.get());
    writeTexts(json, "status", extras.status);
    writeTexts(json, "titlePane", extras.titlePane);
    writeStrip(json, model.painter.get());
    json.string("heartRate", extras.heartRate).boolean("autoStep", extras.autoStep);
    writeForms(json, model);
    json.beginObject("buttons");
    for (const auto& [id, slot] : extras.buttons) json.number(std::to_string(id), slot);
    json.endObject();
    if (const auto box = system.openMessageBox()) {
        json.beginObject("messageBox").string("caption", box->caption).string("text", box->text).endObject();
    } else {
        json.null("messageBox");
    }
    json.endObject();
    return json.text() + "\n";
}

}  // namespace lumen
