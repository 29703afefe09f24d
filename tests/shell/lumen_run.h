// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "support/command_run.h"
#include "support/temp_home.h"

namespace lumen::testing {

// A one-hour demo program home in a temporary folder.
class DemoHome : public TempHome {
public:
    explicit DemoHome(int language = 2);
    std::string text(const std::string& name) const;  // a file of the home, "" when missing
    bool exists(const std::string& name) const;
    void write(const std::string& name, const std::string& text) const { writeText(path(name), text); }
};

struct LumenRun {
    int status = -1;
    std::string err;   // standard error
    std::string dump;  // the state dump written by the script's `dump` action, "" without one
};

// Runs the real `lumen` headless on the home with the script's lines;
// `environment` is prepended to the command (e.g. "PATH=/x:$PATH").
// `options` go before the script option (e.g. "--print-to out.pdf").
LumenRun runLumen(const DemoHome& home, const std::string& script, const std::string& screen = "1024x768",
                  const std::string& environment = "", const std::string& options = "");

// A run of several steps (script lines each) with a state dump after each.
struct SteppedRun {
    LumenRun run;
    std::vector<std::string> dumps;  // one per step, "" when it was not written
};
SteppedRun runSteps(const DemoHome& home, const std::vector<std::string>& steps, const std::string& environment = "",
                    const std::string& options = "");

// The value text after "key": in a dump (up to the next comma at depth 0).
std::string dumpValue(const std::string& dump, const std::string& key);
// The same inside the value of `outer` (e.g. "status", "left").
std::string dumpValue(const std::string& dump, const std::string& outer, const std::string& key);
// A number of the dump; -999999 when missing.
int64_t dumpNumber(const std::string& dump, const std::string& key);
int64_t dumpNumber(const std::string& dump, const std::string& outer, const std::string& key);
// A JSON string value without its quotes (no escapes resolved but \").
std::string unquoted(const std::string& value);
// A number of the dump's event catalog, and the event count of its row `row`.
int64_t catalogNumber(const std::string& dump, const std::string& key);
int64_t rowCount(const std::string& dump, int row);
// The script line `times` over, each with its line break.
std::string scriptLines(const std::string& line, int times);

}  // namespace lumen::testing
