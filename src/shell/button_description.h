// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/draw/color.h"

namespace lumen {

inline constexpr int32_t kBitmapSlots = 42;
inline constexpr int32_t kCornerSlot = kBitmapSlots;  // the corner picture, after the slots

// Which button place a picture is sized for.
enum class FaceRole : uint8_t { Small, Wide, Ecg, Half, Corner };
enum class FaceKind : uint8_t { Blank, Text, Glyph };
enum class ButtonWord : uint8_t { Exit, Artefact };

struct FaceSpec {
    FaceRole role = FaceRole::Small;
    FaceKind kind = FaceKind::Blank;
    std::string content;  // label or glyph name, blanks restored
    Color ink = blackColor;
    Color paper = whiteColor;
};

// The button artwork's description: a face per bitmap slot and the corner,
// and the language's words for the exit and artefact buttons. Lines that do
// not parse are skipped, so a bad description gives blank pictures.
class ButtonDescription {
public:
    ButtonDescription(std::string_view facesText, std::string_view wordsText);
    // The description embedded at build time.
    static const ButtonDescription& embedded();

    // Slots 0..41 and kCornerSlot.
    const FaceSpec& face(int32_t slot) const;
    // The word in that language; English when the language has none.
    std::string_view word(int32_t languageIndex, ButtonWord word) const;
    // The face's label with $exit and $artefact replaced in that language.
    std::string label(const FaceSpec& face, int32_t languageIndex) const;

private:
    void readFaces(std::string_view text);
    void readWords(std::string_view text);

    std::array<FaceSpec, kBitmapSlots + 1> faces_{};
    std::array<std::array<std::string, 2>, 14> words_{};
};

}  // namespace lumen
