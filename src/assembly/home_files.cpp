// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/home_files.h"

namespace lumen {

std::string HomeFiles::colorIni(int language) {
    // Every token counts, whatever its name; the unused ones keep the
    // numbering. Millimetre paper, dark traces, red ventricular and blue
    // supraventricular episodes.
    static constexpr const char* kTokens[] = {
        "window=255,250,242",       "unused2=128,128,128",  "unused3=192,192,192",   "unused4=0,0,0",
        "unused5=0,0,128",          "unused6=255,255,255",  "unused7=0,0,160",       "unused8=0,120,215",
        "unused9=64,64,64",         "trace=20,24,40",       "unused11=0,0,0",        "ventricular=190,0,0",
        "supraventricular=0,70,190", "unused14=0,128,0",    "unused15=128,0,128",    "unused16=0,128,128",
        "unused17=128,128,0",       "unused18=96,96,96",    "text=0,0,0",            "unused20=255,255,255",
        "unused21=160,160,160",     "unused22=0,0,0",       "caliper=0,130,60",      "unused24=255,255,255",
    };
    std::string out;
    for (const char* token : kTokens) {
        out += token;
        out += "\r\n";
    }
    out += "TAROLT_LANGUAGE = " + std::to_string(language) + "\r\n";
    return out;
}

std::string HomeFiles::tbColorIni() { return "grid=240,188,188\r\n"; }

std::string HomeFiles::doefMem(int32_t positionTicks, int32_t startEventCode) {
    return std::to_string(positionTicks) + " 0 " + std::to_string(startEventCode) + " 2 2\n";
}

std::string HomeFiles::pathTmp(const std::string& recordingDirectory) { return recordingDirectory + "\n"; }

}  // namespace lumen
