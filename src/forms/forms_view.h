// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "forms/form_gallery.h"

namespace lumen {

// What the forms view shows and where the reviewer is in it: the gallery,
// the selected tile, and the beat of that form last stepped to.
class FormsView {
public:
    bool isOpen() const { return open_; }
    void open(Recording& recording);
    void close() { open_ = false; }
    // The gallery again from the beats, the same form still selected.
    void rebuild(Recording& recording);

    const FormGallery& gallery() const { return gallery_; }
    size_t selectedTile() const { return selected_; }
    const FormTile* selected() const;
    void selectTile(size_t tile);
    bool selectForm(uint8_t id);
    // Moves the selection in the grid of `columns` columns.
    void moveSelection(int32_t columns, int32_t rows, int32_t columnsPerRow);

    // The beat list index of the selected form's next (or previous) beat,
    // from the last one stepped to; nothing when the form has no beats.
    std::optional<uint32_t> stepBeat(int32_t direction);

private:
    FormGallery gallery_;
    bool open_ = false;
    size_t selected_ = 0;
    std::optional<size_t> beatStep_;
};

}  // namespace lumen
