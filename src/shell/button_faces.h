// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/draw/raster_canvas.h"
#include "platform/window/window_system.h"
#include "shell/button_artwork.h"
#include "shell/button_description.h"
#include "shell/viewer_model.h"

namespace lumen {

// The bitmap table of the owner-drawn buttons: 42 slots and the corner
// picture for the screen class and language in use, and the copying of the
// right slot onto each button whenever the view's state may have changed.
class ButtonFaces {
public:
    // Draws the heart-rate readout into the ECG pane's corner band.
    using HeartRateDrawer = std::function<void(Canvas& canvas, int32_t top, int32_t bottom)>;

    ButtonFaces(WindowSystem& system, ViewerModel& model);

    void setHeartRateDrawer(HeartRateDrawer drawer) { heartRate_ = std::move(drawer); }

    // Replaces the pictures by those of a screen class (language from the model).
    void loadBitmapSet(int32_t screenClass);
    // Copies a slot's picture onto its button (slots 2..5 show 24 and 25).
    void paintButtonFace(int32_t slot);
    // Copies a slot's picture onto `button` through `canvas` and notes it.
    void drawSlot(Canvas& canvas, WindowHandle button, int32_t slot);
    void refreshButtonFaces();
    void releaseBitmaps();

    const RasterCanvas* picture(int32_t slot) const;
    // Each button id and the bitmap slot last drawn on it.
    const std::map<uint32_t, int32_t>& drawnSlots() const { return drawn_; }
    const ButtonArtwork& artwork() const { return artwork_; }

private:
    void refreshEcgCorner();
    void blitBitmap(Canvas& canvas, const RasterCanvas* bitmap, Point at) const;

    WindowSystem& system_;
    ViewerModel& model_;
    ButtonArtwork artwork_;
    std::array<std::unique_ptr<RasterCanvas>, kBitmapSlots + 1> slots_{};
    std::map<uint32_t, int32_t> drawn_;
    HeartRateDrawer heartRate_;
};

}  // namespace lumen
