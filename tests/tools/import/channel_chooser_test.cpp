// SPDX-License-Identifier: GPL-3.0-or-later
// One rule picks the recording's channels from any source's labels.
#include "import/channel_chooser.h"

#include <gtest/gtest.h>

#include "import/import_error.h"

namespace lumen {
namespace {

using Fallback = ChannelChooser::Fallback;

struct Case {
    const char* what;
    std::vector<std::string> labels;
    std::vector<std::string> names;
    Fallback fallback;
    std::vector<int> picked;  // empty: refused
};

TEST(ChannelChooser, PicksNamedChannelsElseEcgLeadsElseWhatTheFormatAllows) {
    const Case cases[] = {
        {"two ECG leads among others", {"EEG Fp1", "ECG I", "Resp", "ECG II", "ECG III"}, {}, Fallback::Refuse, {1, 3}},
        {"lead names and chest leads", {"Pleth", "MLII", "V5"}, {}, Fallback::FirstTwo, {1, 2}},
        {"one lead only", {"SpO2", "V2-V4", "Resp"}, {}, Fallback::Refuse, {1}},
        {"EDF without ECG refuses", {"EEG Fp1", "Resp"}, {}, Fallback::Refuse, {}},
        {"free WFDB labels take the first two", {"sig 0", "sig 1", "sig 2"}, {}, Fallback::FirstTwo, {0, 1}},
        {"by label, in the order given", {"I", "II", "III"}, {"III", "I"}, Fallback::Refuse, {2, 0}},
        {"by number from 1", {"I", "II", "III"}, {"3"}, Fallback::Refuse, {2}},
        {"a number past the end", {"I", "II"}, {"3"}, Fallback::FirstTwo, {}},
        {"an unknown label", {"I", "II"}, {"V9"}, Fallback::FirstTwo, {}},
        {"no channels at all", {}, {}, Fallback::FirstTwo, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.picked.empty()) {
            EXPECT_THROW(ChannelChooser::choose(c.labels, c.names, "rec.edf", "signal", c.fallback), ImportError);
        } else {
            EXPECT_EQ(ChannelChooser::choose(c.labels, c.names, "rec.edf", "signal", c.fallback), c.picked);
        }
    }
}

}  // namespace
}  // namespace lumen
