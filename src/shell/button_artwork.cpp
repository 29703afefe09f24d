// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/button_artwork.h"

#include <algorithm>

#include "shell/bitmap_resources.h"
#include "shell/glyph_painter.h"
#include "shell/layout_rules.h"

namespace lumen {
namespace {

constexpr Color kCursorKey = rgb(255, 0, 255);

Color mix(Color a, Color b) {
    return rgb(static_cast<uint8_t>((redOf(a) + redOf(b)) / 2), static_cast<uint8_t>((greenOf(a) + greenOf(b)) / 2),
               static_cast<uint8_t>((blueOf(a) + blueOf(b)) / 2));
}

// A raised edge: light top and left, dark bottom and right.
void drawBevel(RasterCanvas& canvas, Size size, Color paper) {
    const Color light = mix(paper, whiteColor);
    const Color dark = mix(paper, blackColor);
    canvas.fillRect(Rect{0, 0, size.width, 1}, Brush::solid(light));
    canvas.fillRect(Rect{0, 0, 1, size.height}, Brush::solid(light));
    canvas.fillRect(Rect{0, size.height - 1, size.width, size.height}, Brush::solid(dark));
    canvas.fillRect(Rect{size.width - 1, 0, size.width, size.height}, Brush::solid(dark));
}

// The largest bold font up to 62% of the height whose label fits the width.
void drawLabel(RasterCanvas& canvas, Size size, std::string_view label, Color ink) {
    if (label.empty()) return;
    int32_t height = std::max(8, size.height * 62 / 100);
    canvas.selectFont(Font::make("Arial", height, Font::boldWeight));
    while (height > 8 && canvas.textExtent(label).width > size.width - 4) {
        canvas.selectFont(Font::make("Arial", --height, Font::boldWeight));
    }
    canvas.setBkMode(BackgroundMode::Transparent);
    canvas.setTextColor(ink);
    canvas.drawText(Rect{0, 0, size.width, size.height}, label,
                    DrawTextFormat::Center | DrawTextFormat::VerticalCenter | DrawTextFormat::SingleLine);
}

}  // namespace

ButtonArtwork::ButtonArtwork(const ButtonDescription& description) : description_(description) {}

Size ButtonArtwork::pictureSize(FaceRole role, int32_t screenClass) {
    const int32_t nominal = nominalScreenWidth(screenClass);
    const ShellLayout layout = computeLayout(nominal, Size{nominal, nominal});
    const int32_t ecgWidth = 2 * layout.ecgButtonHalf;
    switch (role) {
    case FaceRole::Small: return {layout.buttonUnit / 2, layout.buttonHeight};
    case FaceRole::Wide: return {layout.buttonUnit, layout.buttonHeight};
    case FaceRole::Ecg: return {ecgWidth, layout.ecgButtonHeight};
    case FaceRole::Half: return {layout.ecgButtonHalf, layout.ecgButtonHeight};
    case FaceRole::Corner: return {ecgWidth, 2 * layout.ecgButtonHeight};
    }
    return {};
}

std::unique_ptr<RasterCanvas> ButtonArtwork::slotPicture(int32_t slot, int32_t screenClass,
                                                         int32_t languageIndex) const {
    const FaceSpec& face = description_.face(slot);
    auto canvas = std::make_unique<RasterCanvas>(pictureSize(face.role, screenClass));
    drawFace(*canvas, face, description_.label(face, languageIndex));
    return canvas;
}

std::unique_ptr<RasterCanvas> ButtonArtwork::resourcePicture(uint32_t resourceId) const {
    const auto place = placeOfResource(resourceId);
    if (!place) return nullptr;
    return slotPicture(place->slot, place->screenClass, place->languageIndex == 0 ? 2 : place->languageIndex);
}

void ButtonArtwork::drawFace(RasterCanvas& canvas, const FaceSpec& face, std::string_view label) const {
    const Size size = canvas.deviceSize();
    canvas.fill(face.paper);
    drawBevel(canvas, size, face.paper);
    const Rect inside{2, 2, size.width - 2, size.height - 2};
    switch (face.kind) {
    case FaceKind::Text: drawLabel(canvas, size, label, face.ink); break;
    case FaceKind::Glyph: paintGlyph(canvas, face.content, inside, face.ink); break;
    case FaceKind::Blank: break;
    }
}

CursorImage ButtonArtwork::steppingCursor() const {
    constexpr int32_t side = 32;
    RasterCanvas canvas(Size{side, side});
    canvas.fill(kCursorKey);
    // An arrow pointer, outlined, with the stepping symbol beside it.
    for (int32_t row = 0; row < 17; ++row) {
        const int32_t width = row * 2 / 3 + 1;
        canvas.fillRect(Rect{0, row, width + 1, row + 1}, Brush::black());
        if (width > 1 && row < 16) canvas.fillRect(Rect{1, row, width, row + 1}, Brush::white());
    }
    paintGlyph(canvas, "play", Rect{12, 18, 32, 32}, rgb(26, 60, 120));
    CursorImage image;
    image.size = Size{side, side};
    image.hotSpot = Point{0, 0};
    image.pixels.reserve(side * side);
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x) {
            const uint32_t pixel = canvas.pixel(x, y);
            image.pixels.push_back(canvas.colorAt(x, y) == kCursorKey ? 0u : (0xFF000000u | pixel));
        }
    }
    return image;
}

std::unique_ptr<RasterCanvas> ButtonArtwork::programIcon() const {
    auto canvas = std::make_unique<RasterCanvas>(Size{32, 32});
    canvas->fill(description_.face(kCornerSlot).paper);
    paintHeart(*canvas, Rect{2, 3, 30, 29}, description_.face(kCornerSlot).ink);
    return canvas;
}

}  // namespace lumen
