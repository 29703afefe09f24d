// SPDX-License-Identifier: GPL-3.0-or-later
#include "holter/home_patient.h"

#include <cstdio>
#include <memory>

#include "lang/code_page.h"
#include "lang/language_texts.h"
#include "lang/stored_language.h"
#include "store/plain_file.h"
#include "store/recording.h"

namespace lumen {

int32_t homeLanguage(const std::string& programDirectory) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openPlainFile(programDirectory + "color.ini", "rb"),
                                                         std::fclose);
    return file ? languageFromLine(findConfigKey(file.get(), kStoredLanguageKey)) : LanguageTexts::kDefaultLanguage;
}

std::string homePatientText(Recording& recording, const std::string& programDirectory) {
    std::string line = recording.readPatientLine();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return decodeToUtf8(line, LanguageTexts::codePageOf(homeLanguage(programDirectory)));
}

}  // namespace lumen
