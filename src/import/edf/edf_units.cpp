// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/edf/edf_units.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace lumen {
namespace {

struct Voltage {
    const char* name;  // lower case
    double millivolts;
};

constexpr Voltage kVoltages[] = {{"v", 1000.0}, {"mv", 1.0}, {"uv", 1e-3}, {"nv", 1e-6}};

// An ECG amplifier's input range lies between 1 mV and 1 V either side of
// zero: the first unit that puts the physical range there is taken.
constexpr double kSmallestRangeMv = 1.0;
constexpr double kLargestRangeMv = 1000.0;

std::string lowered(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string rangeText(double low, double high) {
    char text[64];
    std::snprintf(text, sizeof text, "%g to %g", low, high);
    return text;
}

}  // namespace

EdfUnit EdfUnits::of(const std::string& unit, double physicalMinimum, double physicalMaximum) {
    const std::string key = lowered(unit);
    for (const Voltage& v : kVoltages)
        if (key == v.name) return {v.millivolts, {}};
    const double range = std::max(std::fabs(physicalMinimum), std::fabs(physicalMaximum));
    const std::string said = unit.empty() ? "no physical unit" : "the physical unit \"" + unit + "\"";
    for (const Voltage& v : kVoltages) {
        const double mv = range * v.millivolts;
        if (mv >= kSmallestRangeMv && mv < kLargestRangeMv) {
            const std::string name = v.name[0] == 'v' ? "V" : std::string(1, v.name[0]) + "V";
            return {v.millivolts, "gives " + said + " for a voltage; its physical range " +
                                      rangeText(physicalMinimum, physicalMaximum) + " was read as " + name +
                                      ", the unit that makes it an ECG amplifier's range. If the amplitudes look "
                                      "wrong, set the unit with EDFbrowser's header editor and import again."};
        }
    }
    return {1.0, "gives " + said + " for a voltage and a physical range (" +
                     rangeText(physicalMinimum, physicalMaximum) +
                     ") that fits no ECG amplifier; it was read as mV. If the amplitudes look wrong, set the unit "
                     "with EDFbrowser's header editor and import again."};
}

}  // namespace lumen
