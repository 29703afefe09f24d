// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/lumen_run.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "demo/demo_home.h"

namespace lumen::testing {

DemoHome::DemoHome(int language) {
    DemoOptions options;
    options.directory = programDirectory();
    options.hours = 1;
    options.language = language;
    writeDemoHome(options);
}

std::string DemoHome::text(const std::string& name) const { return readText(path(name)); }

bool DemoHome::exists(const std::string& name) const { return std::filesystem::exists(path(name)); }

LumenRun runLumen(const DemoHome& home, const std::string& script, const std::string& screen,
                  const std::string& environment, const std::string& options) {
    home.writeText(home.path("script.txt"), script);
    std::filesystem::remove(home.path("dump.json"));
    // A file of its own for every run: Wine may close the last run's handles
    // a moment after the run has ended.
    static int runs = 0;
    const std::string errName = "stderr" + std::to_string(++runs) + ".txt";
    const std::string command = environment + " " LUMEN_PATH " --home " + home.programDirectory() + " --headless " +
                                screen + " " + options + " --script " + home.path("script.txt") + " 2> " + home.path(errName);
    // The output is read to its end, so a program the viewer started has done its work.
    LumenRun run;
    run.status = runCommand(command).status;
    run.err = home.text(errName);
    run.dump = home.text("dump.json");
    return run;
}

std::string dumpValue(const std::string& dump, const std::string& key) {
    const std::string quoted = "\"" + key + "\": ";
    const size_t at = dump.find(quoted);
    if (at == std::string::npos) return {};
    const size_t start = at + quoted.size();
    int depth = 0;
    bool inString = false;
    for (size_t i = start; i < dump.size(); ++i) {
        const char c = dump[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if (c == ']' || c == '}') {
            if (depth-- == 0) return dump.substr(start, i - start);
        } else if (c == ',' && depth == 0) {
            return dump.substr(start, i - start);
        }
    }
    return dump.substr(start);
}

SteppedRun runSteps(const DemoHome& home, const std::vector<std::string>& steps, const std::string& environment,
                    const std::string& options) {
    std::string script;
    for (size_t i = 0; i < steps.size(); ++i) {
        const std::string name = home.path("step" + std::to_string(i) + ".json");
        std::filesystem::remove(name);
        script += steps[i] + "\ndump " + name + "\n";
    }
    SteppedRun stepped;
    stepped.run = runLumen(home, script, "1024x768", environment, options);
    for (size_t i = 0; i < steps.size(); ++i) stepped.dumps.push_back(home.text("step" + std::to_string(i) + ".json"));
    return stepped;
}

// The object value of `outer` (the layout's "status" array is not it).
std::string dumpValue(const std::string& dump, const std::string& outer, const std::string& key) {
    const size_t at = dump.find("\"" + outer + "\": {");
    if (at == std::string::npos) return {};
    return dumpValue(dumpValue(dump.substr(at), outer), key);
}

int64_t dumpNumber(const std::string& dump, const std::string& key) {
    const std::string value = dumpValue(dump, key);
    return value.empty() ? -999999 : std::stoll(value);
}

int64_t dumpNumber(const std::string& dump, const std::string& outer, const std::string& key) {
    const std::string value = dumpValue(dump, outer, key);
    return value.empty() ? -999999 : std::stoll(value);
}

std::string unquoted(const std::string& value) {
    if (value.size() < 2 || value.front() != '"') return value;
    std::string text;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\' && i + 2 < value.size()) ++i;
        text += value[i];
    }
    return text;
}

int64_t catalogNumber(const std::string& dump, const std::string& key) { return dumpNumber(dump, "catalog", key); }

int64_t rowCount(const std::string& dump, int row) {
    std::string rows = dumpValue(dump, "catalog", "rows");
    for (int i = 0; i < row; ++i) rows = rows.substr(rows.find('}') + 1);
    return dumpNumber(rows, "count");
}

std::string scriptLines(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += line + "\n";
    return text;
}

}  // namespace lumen::testing
