// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "lang/language_texts.h"
#include "lang/printf_pattern.h"
#include "lang/text_id.h"

namespace lumen {

// Entry `id` of the language filled with values. A translation whose
// conversions do not read these values is replaced by the English entry.
template <typename... Values>
std::string format(const LanguageTexts& texts, TextId id, Values... values) {
    const std::string_view pattern = texts.text(id);
    if (formatTakes(pattern, {formatArgumentOf<Values>()...})) return formatAccepted(pattern, values...);
    return formatPattern(LanguageTexts().text(id), values...);
}

}  // namespace lumen
