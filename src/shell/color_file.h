// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "lang/stored_language.h"
#include "platform/draw/color.h"

namespace lumen {

// The colours of color.ini that the viewer uses, by their token number.
enum class ColorToken : int32_t {
    Window = 1,            // pane backgrounds; erases measuring lines
    Trace = 10,            // ECG trace outside episodes
    Ventricular = 12,      // trace inside ventricular episodes; title pane
    Supraventricular = 13, // trace inside supraventricular episodes
    Text = 19,             // texts of the ECG pane, strip and title pane
    Caliper = 23,          // measuring lines
};

struct ColorSettings {
    Color window = rgb(255, 250, 242);
    Color trace = rgb(20, 24, 40);
    Color ventricular = rgb(190, 0, 0);
    Color supraventricular = rgb(0, 70, 190);
    Color text = rgb(0, 0, 0);
    Color caliper = rgb(0, 130, 60);
    int32_t languageIndex = 2;
};

// Takes the next component off the front of a colour token: digits after
// the last "=" up to the next ",", other characters skipped.
int32_t nextColorComponent(std::string& token);
// Three components, red, green, blue, each reduced to its low 8 bits.
Color colorFromToken(std::string token);

// color.ini: tokens numbered from 1; a file too short to name a colour
// leaves the default of our own color.ini. nullopt when it cannot be opened.
std::optional<ColorSettings> readColorFile(const std::string& path);
// TBcolor.ini: its first token is the grid colour.
std::optional<Color> readGridColorFile(const std::string& path);

}  // namespace lumen
