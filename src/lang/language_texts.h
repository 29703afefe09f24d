// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "lang/code_page.h"
#include "lang/language_table.h"
#include "lang/text_id.h"

namespace lumen {

// The 31 texts of the user's language. The language is chosen once from the
// stored configuration; texts are UTF-8 and usable as format strings.
class LanguageTexts {
public:
    static constexpr int32_t kTextCount = kLanguageTextCount;
    static constexpr int32_t kDefaultLanguage = 2;

    LanguageTexts();  // English
    explicit LanguageTexts(int32_t languageIndex);

    // Takes the language if the number names one (1..13 except 6) and
    // answers true; any other number is refused and English is used.
    bool setLanguage(int32_t languageIndex);
    int32_t languageIndex() const { return languageIndex_; }

    // Entry k (0..30) of the current language; the view is NUL-terminated.
    // An entry outside 0..30 is the empty text.
    std::string_view text(int32_t k) const;
    const char* textZ(int32_t k) const { return text(k).data(); }
    std::string_view text(TextId id) const { return text(static_cast<int32_t>(id)); }
    const char* textZ(TextId id) const { return textZ(static_cast<int32_t>(id)); }

    CodePage codePage() const { return codePageOf(languageIndex_); }
    // Text read from a recording (the patient line), written in the code
    // page of the language, as UTF-8.
    std::string decodeRecordingText(std::string_view bytes) const;

    static bool isAvailable(int32_t languageIndex);
    static CodePage codePageOf(int32_t languageIndex);

private:
    int32_t languageIndex_ = kDefaultLanguage;
    const LanguageRecord* record_ = nullptr;
};

}  // namespace lumen
