// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/form_review.h"

#include <algorithm>

#include "assembly/rederivation.h"
#include "store/event_feed.h"
#include "store/form_census.h"

namespace lumen {

FormReview::FormReview(WindowSystem& system, ViewerModel& model, const PaneContext& context, PaneCommands& panes,
                       ShellServices& services, PaneLinks& links)
    : system_(system),
      model_(model),
      panes_(panes),
      services_(services),
      links_(links),
      pane_(std::make_unique<FormsPane>(system, context, model.forms, [this](size_t tile) { tileClicked(tile); })) {}

void FormReview::toggle() {
    if (isOpen())
        close();
    else
        open();
}

void FormReview::open() {
    // The strip's own relabelling first, so that the forms count it.
    panes_.runLabelWriteBack();
    model_.forms.open(*model_.recording);
    system_.showWindow(model_.shell.browserPane, ShowCommand::Hide);
    system_.moveWindow(model_.shell.formsPane, model_.layout.browserPlace, Repaint::Yes);
    system_.showWindow(model_.shell.formsPane, ShowCommand::Normal);
    repaintPane();
}

void FormReview::close() {
    model_.forms.close();
    system_.showWindow(model_.shell.formsPane, ShowCommand::Hide);
    system_.showWindow(model_.shell.browserPane, ShowCommand::Normal);
    rederive();
    panes_.refreshBrowser(true);
}

bool FormReview::keyDown(uint32_t virtualKey) {
    const FormTile* tile = model_.forms.selected();
    switch (virtualKey) {
    case 'N':
    case 'S':
    case 'V':
    case 'A': {
        const auto letter = std::string_view(kBeatClassLetters).find(static_cast<char>(virtualKey));
        if (tile != nullptr) classifyForm(tile->id, static_cast<BeatClass>(letter));
        break;
    }
    case VK_LEFT: model_.forms.moveSelection(-1, 0, pane_->columns()); break;
    case VK_RIGHT: model_.forms.moveSelection(1, 0, pane_->columns()); break;
    case VK_UP: model_.forms.moveSelection(0, -1, pane_->columns()); break;
    case VK_DOWN: model_.forms.moveSelection(0, 1, pane_->columns()); break;
    case VK_RETURN:
    case VK_NEXT: stepBeat(1); break;
    case VK_PRIOR: stepBeat(-1); break;
    case 'M':
        if (tile != nullptr) moveSelectedBeat(tile->id);
        break;
    case 'F':
    case VK_ESCAPE: close(); return true;
    default: return true;  // the event browser's keys wait until it is back
    }
    repaintPane();
    return true;
}

void FormReview::selectForm(uint8_t id) {
    if (!isOpen()) return;
    model_.forms.selectForm(id);
    repaintPane();
}

void FormReview::tileClicked(size_t tile) {
    model_.forms.selectTile(tile);
    repaintPane();
}

void FormReview::stepBeat(int32_t direction) {
    const auto index = model_.forms.stepBeat(direction);
    if (!index) return;
    reloadStripAt(model_.recording->beats()[*index].sample());
}

void FormReview::classifyForm(uint8_t id, BeatClass beatClass) {
    panes_.runLabelWriteBack();
    const auto done = FormCensus::relabel(model_.recording->beats().words(), id, beatClass);
    if (!done || done->relabelled == 0) return;
    afterRelabel(done->normalChanged ? ChangeKind::NormalityChanged : ChangeKind::OtherChange);
    reloadStripAt(stripMiddle());
}

bool FormReview::classifySelectedForm(BeatClass beatClass) {
    const FormTile* tile = isOpen() ? model_.forms.selected() : nullptr;
    if (tile == nullptr) return false;
    classifyForm(tile->id, beatClass);
    repaintPane();
    return true;
}

void FormReview::moveSelectedBeat(uint8_t id) {
    panes_.runLabelWriteBack();
    const auto tile = model_.forms.gallery().tileOf(id);
    const int64_t position = model_.painter->selectedBeatPosition();
    if (!tile || position < 0) return;
    BeatList& beats = model_.recording->beats();
    const auto words = beats.words();
    const auto at = std::lower_bound(words.begin(), words.end(), position,
                                     [](BeatWord w, int64_t p) { return w.positionQuarterTicks() < p; });
    if (at == words.end() || at->positionQuarterTicks() != position || !FormCensus::holdsBeat(*at)) return;
    const BeatClass target = model_.forms.gallery().tiles()[*tile].beatClass;
    const auto label = static_cast<uint8_t>(id * 4 + static_cast<uint8_t>(target));
    if (isReservedLabel(label) || at->label() == label) return;
    const bool normality = (at->beatClass() == BeatClass::Normal) != (target == BeatClass::Normal);
    beats.relabel(static_cast<size_t>(at - words.begin()), label);
    afterRelabel(normality ? ChangeKind::NormalityChanged : ChangeKind::OtherChange);
    reloadStripAt(at->sample());
}

void FormReview::afterRelabel(ChangeKind kind) {
    services_.recordWriteBack(kind);
    if (model_.catalog) model_.catalog->clearExtremesValid();
    panes_.recountBeatsAndTitle();
    model_.forms.rebuild(*model_.recording);
}

void FormReview::rederive() {
    panes_.runLabelWriteBack();
    // As at the exit, only corrected labels call for it: the heart-rate
    // rebuild would otherwise rewrite the minutes around excluded extremes.
    if (model_.shell.labelChangeState == 0) return;
    Recording& recording = *model_.recording;
    const RederivationResult result = Rederivation::run(recording, model_.trends);
    if (!result.saved) {
        services_.reportUnsavedCorrections();
        return;
    }
    if (!result.changed || !model_.catalog) return;
    recording.rereadDirectory();
    EventCatalog& catalog = *model_.catalog;
    const int32_t row = catalog.selectedRow();
    const int32_t time = catalog.cursorTime();
    catalog.clearEvents();
    recording.releaseEventMemory();
    feedEvents(recording, model_.trends, catalog);
    if (row >= 0 && row < kRowCount && catalog.row(row).count() > 0) catalog.row(row).seekNearest(time);
    reloadStripAt(stripMiddle());
    panes_.refreshBrowser(true);
}

void FormReview::repaintPane() {
    if (!isOpen()) return;
    system_.invalidateRect(model_.shell.formsPane, std::nullopt, Erase::Yes);
    system_.updateWindow(model_.shell.formsPane);
}

// The strip loaded from the beats as they are now: its labels and episode
// marks follow the corrections, with the beat at `sample` selected.
void FormReview::reloadStripAt(int32_t sample) {
    links_.loadStripAround(std::max(0, sample - StripPainter::kSelectionRightOfMiddle));
}

int32_t FormReview::stripMiddle() const {
    const StripView& view = model_.painter->view();
    return view.windowStart + model_.layout.stripWidth / std::max(1, view.speed()) / 2 +
           StripPainter::kSelectionRightOfMiddle;
}

}  // namespace lumen
