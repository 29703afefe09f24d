// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/language_texts.h"

namespace lumen {

LanguageTexts::LanguageTexts() : LanguageTexts(kDefaultLanguage) {}

LanguageTexts::LanguageTexts(int32_t languageIndex) {
    setLanguage(languageIndex);
}

bool LanguageTexts::setLanguage(int32_t languageIndex) {
    const LanguageRecord* record = languageRecord(languageIndex);
    if (record == nullptr) {
        languageIndex_ = kDefaultLanguage;
        record_ = languageRecord(kDefaultLanguage);
        return false;
    }
    languageIndex_ = languageIndex;
    record_ = record;
    return true;
}

std::string_view LanguageTexts::text(int32_t k) const {
    if (record_ == nullptr || k < 0 || k >= kTextCount) {
        return "";
    }
    return (*record_)[static_cast<size_t>(k)];
}

std::string LanguageTexts::decodeRecordingText(std::string_view bytes) const {
    return decodeToUtf8(bytes, codePage());
}

bool LanguageTexts::isAvailable(int32_t languageIndex) {
    return languageRecord(languageIndex) != nullptr;
}

CodePage LanguageTexts::codePageOf(int32_t languageIndex) {
    switch (languageIndex) {
    case 1:
    case 7:
    case 8: return CodePage::Windows1250;
    case 11: return CodePage::Windows1251;
    default: return CodePage::Windows1252;
    }
}

}  // namespace lumen
