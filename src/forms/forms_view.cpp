// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/forms_view.h"

#include <algorithm>

namespace lumen {

void FormsView::open(Recording& recording) {
    open_ = true;
    selected_ = 0;
    beatStep_.reset();
    gallery_.build(recording);
}

void FormsView::rebuild(Recording& recording) {
    const FormTile* was = selected();
    const std::optional<uint8_t> id = was != nullptr ? std::optional<uint8_t>(was->id) : std::nullopt;
    gallery_.build(recording);
    if (!id || !selectForm(*id))
        selectTile(std::min(selected_, gallery_.tiles().empty() ? 0 : gallery_.tiles().size() - 1));
}

const FormTile* FormsView::selected() const {
    return selected_ < gallery_.tiles().size() ? &gallery_.tiles()[selected_] : nullptr;
}

void FormsView::selectTile(size_t tile) {
    if (tile >= gallery_.tiles().size()) return;
    if (tile != selected_) beatStep_.reset();
    selected_ = tile;
}

bool FormsView::selectForm(uint8_t id) {
    const auto tile = gallery_.tileOf(id);
    if (tile) selectTile(*tile);
    return tile.has_value();
}

void FormsView::moveSelection(int32_t columns, int32_t rows, int32_t columnsPerRow) {
    const auto count = static_cast<int32_t>(gallery_.tiles().size());
    if (count == 0) return;
    const int32_t next = static_cast<int32_t>(selected_) + columns + rows * std::max(columnsPerRow, 1);
    selectTile(static_cast<size_t>(std::clamp(next, 0, count - 1)));
}

std::optional<uint32_t> FormsView::stepBeat(int32_t direction) {
    const FormTile* tile = selected();
    if (tile == nullptr || tile->beats.empty()) return std::nullopt;
    const auto last = tile->beats.size() - 1;
    if (!beatStep_)
        beatStep_ = direction >= 0 ? 0 : last;
    else if (direction >= 0)
        beatStep_ = std::min(*beatStep_ + 1, last);
    else
        beatStep_ = *beatStep_ == 0 ? 0 : *beatStep_ - 1;
    return tile->beats[*beatStep_];
}

}  // namespace lumen
