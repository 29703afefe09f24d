// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumen {

// One annotation of a WFDB annotation file (MIT format).
struct WfdbAnnotation {
    int64_t sample = 0;
    uint8_t code = 0;  // 1..58; defined 1..49: N, L, R, a, V, F, J, A, S, E, j, /, Q, ~, ...
    int8_t subtype = 0;
    uint8_t channel = 0;
    uint8_t number = 0;
    std::string aux;
};

// Reads and writes annotation files in the MIT format: 16-bit words of a
// 6-bit code and a 10-bit time step, with SKIP, NUM, SUB, CHN and AUX
// pseudo-codes.
class WfdbAnnotations {
public:
    // Throws ImportError naming `fileName` when the bytes are not a valid
    // annotation file.
    static std::vector<WfdbAnnotation> parse(std::span<const uint8_t> bytes, const std::string& fileName);
    static std::vector<uint8_t> format(std::span<const WfdbAnnotation> annotations);

    // Whether the code stands for a kind of annotation (1..49, not 15, 17
    // or 42..49, which WFDB leaves unassigned).
    static bool defined(uint8_t code);
    // The mnemonic of a code ("N", "V", "~", ...); "?" for unknown codes.
    static std::string mnemonic(uint8_t code);
    // The code of a mnemonic; 0 when none.
    static uint8_t codeOf(std::string_view mnemonic);
};

}  // namespace lumen
