// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace lumen {

// What one physical unit of an EDF signal is in millivolts. EDF writers
// spell the voltage units "V", "mV", "uV" and "nV" in any case; a unit that
// is none of these is taken from the size of the physical range, and the
// warning says what was assumed.
struct EdfUnit {
    double millivoltsPerUnit = 1.0;
    std::string warning;  // empty when the unit was a voltage
};

class EdfUnits {
public:
    static EdfUnit of(const std::string& unit, double physicalMinimum, double physicalMaximum);
};

}  // namespace lumen
