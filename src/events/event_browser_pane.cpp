// SPDX-License-Identifier: GPL-3.0-or-later
#include "events/event_browser_pane.h"

#include <algorithm>
#include <cstdio>

#include "lang/text_format.h"
#include "platform/window/virtual_keys.h"
#include "store/clock.h"
#include "store/event_feed.h"
#include "store/recording.h"
#include "store/trend_table.h"

namespace lumen {

namespace {

constexpr Color kCaptionColor = rgb(255, 0, 0);

// The system's texts are printf formats; a buffer of 200 bytes holds every one.
template <typename... Values>
std::string format(const char* pattern, Values... values) {
    char buffer[200];
    const int written = std::snprintf(buffer, sizeof buffer, pattern, values...);
    if (written < 0) return {};
    return std::string(buffer, std::min<size_t>(static_cast<size_t>(written), sizeof buffer - 1));
}

// A filled-in language text, cut as the status line's buffer cuts it.
std::string fitted(std::string text) { return text.size() < 200 ? text : text.substr(0, 199); }

}  // namespace

EventBrowserPane::EventBrowserPane(WindowSystem& system, const PaneContext& context, ShellServices& services,
                                   PaneLinks& links, EventCatalog& catalog, Recording& recording, TrendTable& trends,
                                   ExtremesSource& extremes)
    : system_(system),
      context_(context),
      services_(services),
      links_(links),
      catalog_(catalog),
      recording_(recording),
      trends_(trends),
      extremes_(extremes) {}

void EventBrowserPane::placeButtons(WindowHandle window) {
    const Rect client = system_.clientRect(window);
    const int32_t bw = context_.layout().buttonUnit;
    const int32_t bh = context_.layout().buttonHeight;
    const int32_t k = bw / 2;
    const int32_t x0 = client.width() - 4 * bw;
    const int32_t y = client.height() - bh;
    const struct {
        ControlId id;
        int32_t left;
        int32_t width;
    } places[] = {{ControlId::PreviousEvent, x0, k},          {ControlId::NextEvent, x0 + k, k},          {ControlId::AutoStep, x0 + 2 * k, bw},
                  {ControlId::RemoveEvent, x0 + 2 * k + bw, k}, {ControlId::PrintReport, x0 + 3 * k + bw, k}, {ControlId::Exit, x0 + 4 * k + bw, bw}};
    for (const auto& place : places) {
        system_.moveWindow(context_.button(place.id), Rect{place.left, y, place.left + place.width, y + bh},
                          Repaint::Yes);
    }
}

void EventBrowserPane::paint(WindowHandle window) {
    links_.showBothChannels();
    PaintStruct paint;
    Canvas* canvas = system_.beginPaint(window, paint);
    if (canvas != nullptr) {
        canvas->setBkMode(BackgroundMode::Transparent);
        canvas->setBkColor(context_.drawing().windowColor);
        catalog_.paintAll(*canvas, PaintTarget::Screen);
    }
    links_.loadStripAround(catalog_.cursorPosition());
    if (canvas != nullptr) drawStatusLine(*canvas);
    system_.endPaint(window, paint);
}

void EventBrowserPane::refreshBrowser(bool full) {
    const WindowHandle window = this->window();
    if (auto canvas = system_.getDC(window)) {
        canvas->setBkMode(BackgroundMode::Transparent);
        canvas->setBkColor(context_.drawing().windowColor);
        if (full) {
            catalog_.paintAll(*canvas, PaintTarget::Screen);
        } else {
            catalog_.repaintChanged(*canvas);
        }
        drawStatusLine(*canvas);
        if (full) services_.refreshButtonFaces();
        system_.releaseDC(window, std::move(canvas));
    }
    links_.loadStripAround(catalog_.cursorPosition());
    services_.refreshButtonFaces();
}

bool EventBrowserPane::refreshExtremes() {
    const bool ran = catalog_.refreshExtremes(extremes_);
    if (ran) services_.markAnnotationChanged();
    return ran;
}

void EventBrowserPane::removeSelectedEvent() {
    if (!catalog_.canRemove()) return;
    const int32_t position = catalog_.cursorPosition();
    const int32_t episode = catalog_.removeCurrentEvent();
    const uint8_t code = catalog_.selectedCode();
    const bool saved = deleteEpisode(recording_, trends_, catalog_, code, position, episode);
    catalog_.seekAfterCursor();
    services_.markAnnotationChanged();
    if (!saved) services_.reportUnsavedCorrections();
}

std::string EventBrowserPane::eventCaption() {
    const std::string name(catalog_.selectedLongName());
    if (!catalog_.selectedHasEvents()) return format("%s", name.c_str());
    const LanguageTexts& texts = context_.texts();
    const int32_t position = catalog_.cursorPosition();
    switch (catalog_.selectedCode()) {
    case kHeartRateMinimumCode:
    case kHeartRateMaximumCode: {
        const uint8_t rate = trends_.heartRateAt(position);
        if (rate == 0) return format("%s : --- %s", name.c_str(), texts.textZ(TextId::RateUnit));
        return format("%s : %3d %s", name.c_str(), static_cast<int>(rate), texts.textZ(TextId::RateUnit));
    }
    case kStMinimumCode:
    case kStMaximumCode: {
        const bool minimum = catalog_.selectedCode() == kStMinimumCode;
        const int8_t value = minimum ? trends_.stMinimumAt(position) : trends_.stMaximumAt(position);
        const int32_t channel = minimum ? trends_.channelOfMinimum() : trends_.channelOfMaximum();
        if (value == TrendTable::kNoSt) return format("%s : ---  ", name.c_str());
        return fitted(format(texts, TextId::StCaption, name.c_str(), value * 0.4 / 64.0, static_cast<int>(channel)));
    }
    default: {
        // A manual event of an imported file keeps what the patient or the
        // recorder wrote with it: on the status line and the report.
        const std::string text = catalog_.selectedRow() == kManualRow ? context_.manualEventText(position) : "";
        return text.empty() ? format("%s", name.c_str()) : name + ": " + text;
    }
    }
}

StatusTexts EventBrowserPane::composeStatus() {
    const int32_t t = catalog_.selectedTimeOfDay() / kTicksPerSecond;
    const int hours = (t / kSecondsPerHour) % 24;
    const int minutes = (t / 60) % 60;
    const int seconds = t % 60;
    StatusTexts texts;
    texts.right = fitted(format(context_.texts(), TextId::BrowserStatus, static_cast<long>(catalog_.selectedOrdinal()),
                                static_cast<long>(catalog_.selectedCount()), hours, minutes, seconds));
    const std::string caption = eventCaption();
    const int32_t row = catalog_.selectedRow();
    if (row == kPauseRow || (row >= kArtefactRow && row <= kTimeScaleRow)) {
        texts.left = format("  %s", caption.c_str());
    } else {
        const std::string shortName(catalog_.selectedShortName());
        texts.left = format("  %s - %s ", shortName.c_str(), caption.c_str());
    }
    return texts;
}

void EventBrowserPane::drawStatusLine(Canvas& canvas) {
    status_ = composeStatus();
    const Rect rect = context_.layout().statusRect;
    canvas.fillRect(rect, context_.drawing().silverBrush);
    canvas.setTextColor(blackColor);
    canvas.drawText(rect, status_.right, DrawTextFormat::Right | DrawTextFormat::VerticalCenter);
    canvas.setTextColor(kCaptionColor);
    canvas.drawText(rect, status_.left, DrawTextFormat::VerticalCenter);
}

std::string EventBrowserPane::heartRateText() const {
    const uint8_t rate = trends_.heartRateAt(catalog_.cursorPosition());
    return rate != 0 ? std::to_string(rate) : "---";
}

void EventBrowserPane::drawHeartRate(Canvas& canvas, int32_t top, int32_t bottom) {
    const int32_t width = context_.layout().ecgPlace.width();
    const int32_t x = (width + 2 * (width - context_.layout().buttonUnit)) / 3;
    CanvasStateGuard guard(canvas);
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.selectFont(context_.drawing().readoutFont);
    canvas.setTextAlign(TextAlign::Bottom | TextAlign::Center);
    canvas.textOut(Point{x, (3 * top + 11 * bottom) / 14}, heartRateText());
    canvas.selectFont(context_.drawing().measuringFont);
    canvas.setTextAlign(TextAlign::Bottom | TextAlign::Center);
    canvas.textOut(Point{x, bottom}, context_.texts().text(TextId::RateUnit));
}

void EventBrowserPane::stepEvent(bool forward) {
    if (forward) {
        catalog_.nextEvent();
    } else {
        catalog_.previousEvent();
    }
    links_.resetCaliperFirstColumn();
    refreshBrowser(false);
}

void EventBrowserPane::command(uint32_t id) {
    switch (static_cast<ControlId>(id)) {
    case ControlId::RemoveEvent:
        removeSelectedEvent();
        refreshBrowser(false);
        services_.recountBeatsAndTitle();
        break;
    case ControlId::PreviousEvent: stepEvent(false); break;
    case ControlId::NextEvent: stepEvent(true); break;
    case ControlId::PrintReport: {
        services_.printReport(links_.shownStretch());
        break;
    }
    case ControlId::Exit: services_.requestExit(); break;
    default: break;
    }
}

void EventBrowserPane::clickRows(Point point) {
    if (!catalog_.hitTest(point)) return;
    catalog_.clickAt(point);
    const bool full = refreshExtremes();
    links_.resetCaliperFirstColumn();
    refreshBrowser(full);
}

LResult EventBrowserPane::handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case WM_SIZE: placeButtons(window); services_.refreshButtonFaces(); return 0;
    case WM_PAINT: paint(window); return 0;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT: catalog_.previousEvent(); refreshBrowser(false); break;
        case VK_UP: catalog_.nextRow(); refreshBrowser(false); break;
        case VK_RIGHT: catalog_.nextEvent(); refreshBrowser(false); break;
        case VK_DOWN: catalog_.previousRow(); refreshBrowser(false); break;
        default: break;
        }
        break;
    case WM_COMMAND:
        system_.setFocus(context_.mainWindow());
        command(loWord(wParam));
        break;
    case WM_LBUTTONUP: clickRows(pointFromLParam(lParam)); break;
    case WM_RBUTTONUP: catalog_.toggleZoom(); refreshBrowser(true); break;
    default: break;
    }
    return system_.defWindowProc(window, message, wParam, lParam);
}

}  // namespace lumen
