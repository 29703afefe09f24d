// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/button_faces.h"

#include "shell/bitmap_resources.h"

namespace lumen {
namespace {

struct FacePlace {
    ControlId buttonId{};
    int32_t pictureSlot = 0;
};

// Which button a slot is drawn on, and whose picture it shows there.
std::optional<FacePlace> placeOfSlot(int32_t slot) {
    if (slot == 0 || slot == 1) return FacePlace{ControlId::RemoveEvent, slot};
    if (slot == 2 || slot == 3) return FacePlace{ControlId::PreviousEvent, 24};
    if (slot == 4 || slot == 5) return FacePlace{ControlId::NextEvent, 25};
    if (slot == 10 || slot == 11) return FacePlace{ControlId::LabelNormal, slot};
    if (slot == 14 || slot == 15) return FacePlace{ControlId::LabelVentricular, slot};
    if (slot == 16 || slot == 17) return FacePlace{ControlId::LabelArtefact, slot};
    if (slot >= 18 && slot <= 20) return FacePlace{ControlId::NextAmplitude, slot};
    if (slot >= 21 && slot <= 23) return FacePlace{ControlId::NextSpeed, slot};
    if (slot == 27) return FacePlace{ControlId::PrintReport, slot};
    if (slot == 28) return FacePlace{ControlId::Exit, slot};
    if (slot == 40) return FacePlace{ControlId::PreviousBeat, slot};
    if (slot == 41) return FacePlace{ControlId::NextBeat, slot};
    return std::nullopt;
}

}  // namespace

ButtonFaces::ButtonFaces(WindowSystem& system, ViewerModel& model) : system_(system), model_(model) {}

void ButtonFaces::loadBitmapSet(int32_t screenClass) {
    const int32_t language = model_.texts.languageIndex();
    for (const BitmapLoad& load : classBitmaps(screenClass)) {
        slots_[static_cast<size_t>(load.slot)] = artwork_.slotPicture(load.slot, screenClass, language);
    }
    for (const BitmapLoad& load : languageBitmaps(screenClass, language)) {
        slots_[static_cast<size_t>(load.slot)] = artwork_.slotPicture(load.slot, screenClass, language);
    }
}

const RasterCanvas* ButtonFaces::picture(int32_t slot) const {
    return slot >= 0 && slot <= kCornerSlot ? slots_[static_cast<size_t>(slot)].get() : nullptr;
}

void ButtonFaces::blitBitmap(Canvas& canvas, const RasterCanvas* bitmap, Point at) const {
    if (bitmap == nullptr) return;  // an empty slot draws nothing
    const Size size = bitmap->deviceSize();
    canvas.bitBlt(Rect{at.x, at.y, at.x + size.width, at.y + size.height}, *bitmap, Point{0, 0});
}

void ButtonFaces::drawSlot(Canvas& canvas, WindowHandle button, int32_t slot) {
    blitBitmap(canvas, picture(slot), Point{0, 0});
    drawn_[system_.controlId(button)] = slot;
}

void ButtonFaces::paintButtonFace(int32_t slot) {
    const auto place = placeOfSlot(slot);
    if (!place) return;
    const WindowHandle button = model_.shell.button(place->buttonId);
    if (!system_.isWindow(button)) return;
    auto canvas = system_.getDC(button);
    if (canvas) drawSlot(*canvas, button, place->pictureSlot);
    system_.releaseDC(button, std::move(canvas));
}

void ButtonFaces::refreshEcgCorner() {
    const WindowHandle pane = model_.shell.ecgPane;
    if (!system_.isWindow(pane)) return;
    auto canvas = system_.getDC(pane);
    if (!canvas) return;
    const Rect client = system_.clientRect(pane);
    const ShellLayout& layout = model_.layout;
    const int32_t x = client.width() - 2 * layout.ecgButtonHalf - 1;
    canvas->selectPen(model_.drawing.windowPen);
    canvas->moveTo({x, 6 * layout.ecgButtonHeight});
    canvas->lineTo({x, client.height()});
    const RasterCanvas* corner = picture(kCornerSlot);
    const int32_t cornerHeight = corner != nullptr ? corner->deviceSize().height : 0;
    if (corner != nullptr) {
        const Size size = corner->deviceSize();
        blitBitmap(*canvas, corner, Point{client.width() - size.width, client.height() - size.height});
    }
    if (heartRate_) heartRate_(*canvas, client.height() - cornerHeight, client.height());
    system_.releaseDC(pane, std::move(canvas));
}

void ButtonFaces::refreshButtonFaces() {
    refreshEcgCorner();
    for (const int32_t slot : {2, 4, 27, 28}) paintButtonFace(slot);
    const StripView view = model_.painter ? model_.painter->view() : StripView{};
    switch (view.selectedClass) {
    case 1: paintButtonFace(11), paintButtonFace(14), paintButtonFace(16); break;
    case 3: paintButtonFace(10), paintButtonFace(15), paintButtonFace(16); break;
    case 4: paintButtonFace(10), paintButtonFace(14), paintButtonFace(17); break;
    default: paintButtonFace(10), paintButtonFace(14), paintButtonFace(16); break;
    }
    paintButtonFace(view.amplitudeStep == 1 ? 18 : view.amplitudeStep == 2 ? 19 : 20);
    paintButtonFace(view.pixelsPerSample == 1 ? 21 : view.pixelsPerSample == 2 ? 22 : 23);
    paintButtonFace(model_.catalog && model_.catalog->canRemove() ? 0 : 1);
    paintButtonFace(40);
    paintButtonFace(41);
}

void ButtonFaces::releaseBitmaps() {
    for (int32_t slot = 0; slot <= 39; ++slot) slots_[static_cast<size_t>(slot)].reset();
    slots_[kCornerSlot].reset();
}

}  // namespace lumen
