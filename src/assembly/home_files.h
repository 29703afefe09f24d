// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace lumen {

// The small text files of a program home, as the viewer reads them.
class HomeFiles {
public:
    // How the viewer tells the clean-up program it starts at exit which
    // program home it closed: that program's command line is its bare name.
    static constexpr std::string_view kHomeVariable = "LUMEN_HOME";

    // Colour tokens one per line (token 1 window, 10 trace, 12 ventricular,
    // 13 supraventricular, 19 text, 23 measuring lines), then the language.
    static std::string colorIni(int language);
    // The millimetre grid colour.
    static std::string tbColorIni();
    // position (ticks from the recording start), change flag, start event
    // code, pixels per sample, amplitude step.
    static std::string doefMem(int32_t positionTicks, int32_t startEventCode);
    static std::string pathTmp(const std::string& recordingDirectory);

    // A language the viewer accepts: 1 to 13 except 6.
    static bool validLanguage(int language) { return language >= 1 && language <= 13 && language != 6; }
    // What is wrong with `given` as a language, in a sentence.
    static std::string languageProblem(const std::string& given) {
        return "The language must be a number from 1 to 13 other than 6, not \"" + given +
               "\"; see the README for the languages.";
    }
};

}  // namespace lumen
