// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/script_reader.h"

#include <array>
#include <cctype>
#include <charconv>
#include <fstream>
#include <vector>

#include "platform/file/utf8_path.h"
#include "platform/window/message_box_style.h"
#include "platform/window/virtual_keys.h"

namespace lumen {

namespace {

constexpr int64_t coordinateLimit = 1'000'000;
constexpr uint64_t waitLimitMs = 1'000'000'000;  // about eleven days
constexpr size_t fileLimitBytes = 64u * 1024u * 1024u;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> tokens(std::string_view text) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isBlank(text[at])) {
            ++at;
        }
        const size_t start = at;
        while (at < text.size() && !isBlank(text[at])) {
            ++at;
        }
        if (at > start) {
            words.push_back(text.substr(start, at - start));
        }
    }
    return words;
}

std::optional<int64_t> signedNumber(std::string_view word, int64_t limit) {
    int64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value, 10);
    if (error != std::errc{} || stop != end || value < -limit || value > limit) {
        return std::nullopt;
    }
    return value;
}

// Decimal, or hexadecimal after 0x.
std::optional<uint64_t> unsignedNumber(std::string_view word, uint64_t limit) {
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && lower(word[1]) == 'x') {
        word.remove_prefix(2);
        base = 16;
    }
    uint64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value, base);
    if (word.empty() || error != std::errc{} || stop != end || value > limit) {
        return std::nullopt;
    }
    return value;
}

struct Verb {
    std::string_view name;
    ScriptVerb verb;
};

constexpr std::array<Verb, 20> verbs{{
    {"key", ScriptVerb::Key},
    {"click", ScriptVerb::Click},
    {"rclick", ScriptVerb::RightClick},
    {"press", ScriptVerb::Press},
    {"move", ScriptVerb::Move},
    {"release", ScriptVerb::Release},
    {"button", ScriptVerb::Button},
    {"wait", ScriptVerb::Wait},
    {"answer", ScriptVerb::Answer},
    {"shot", ScriptVerb::Shot},
    {"dump", ScriptVerb::Dump},
    {"size", ScriptVerb::Size},
    {"message", ScriptVerb::Message},
    {"close", ScriptVerb::Close},
    {"drop", ScriptVerb::Drop},
    {"choose", ScriptVerb::Choose},
    {"forms", ScriptVerb::Forms},
    {"form", ScriptVerb::Form},
    {"formclass", ScriptVerb::FormClass},
    {"formmove", ScriptVerb::FormMove},
}};

// The highest form id: 30 and 31 are no forms.
constexpr uint64_t kLastFormId = 29;
constexpr std::string_view kClassLetters = "NSVA";

using Words = std::vector<std::string_view>;

std::optional<std::string> parseKey(const Words& words, ScriptAction& action) {
    if (words.size() < 2 || words.size() > 5) {
        return "key needs a key name and at most ctrl, shift, alt";
    }
    const auto key = ScriptReader::keyFromName(words[1]);
    if (!key) {
        return "unknown key name";
    }
    action.virtualKey = *key;
    for (size_t i = 2; i < words.size(); ++i) {
        if (equalsIgnoreCase(words[i], "ctrl")) {
            action.modifiers |= modifierCtrl;
        } else if (equalsIgnoreCase(words[i], "shift")) {
            action.modifiers |= modifierShift;
        } else if (equalsIgnoreCase(words[i], "alt")) {
            action.modifiers |= modifierAlt;
        } else {
            return "unknown modifier (ctrl, shift or alt)";
        }
    }
    return std::nullopt;
}

std::optional<std::string> parsePoint(const Words& words, ScriptAction& action) {
    if (words.size() != 3) {
        return "needs X and Y";
    }
    const auto x = signedNumber(words[1], coordinateLimit);
    const auto y = signedNumber(words[2], coordinateLimit);
    if (!x || !y) {
        return "X and Y must be integers";
    }
    action.point = Point{static_cast<int32_t>(*x), static_cast<int32_t>(*y)};
    return std::nullopt;
}

std::optional<std::string> parseWord(const Words& words, ScriptAction& action) {
    if (words.size() != 2) {
        return "needs exactly one argument";
    }
    const std::string_view word = words[1];
    switch (action.verb) {
    case ScriptVerb::Button: {
        const auto id = unsignedNumber(word, 0xFFFF);
        action.number = static_cast<uint32_t>(id.value_or(0));
        return id ? std::nullopt : std::optional<std::string>("bad control id");
    }
    case ScriptVerb::Wait: {
        const auto ms = unsignedNumber(word, waitLimitMs);
        action.milliseconds = ms.value_or(0);
        return ms ? std::nullopt : std::optional<std::string>("bad number of milliseconds");
    }
    case ScriptVerb::Message: {
        const auto number = unsignedNumber(word, 0xFFFFFFFFu);
        action.number = static_cast<uint32_t>(number.value_or(0));
        return number ? std::nullopt : std::optional<std::string>("bad message number");
    }
    case ScriptVerb::Answer:
        action.answer = equalsIgnoreCase(word, "yes")  ? IDYES
                        : equalsIgnoreCase(word, "no") ? IDNO
                        : equalsIgnoreCase(word, "ok") ? IDOK
                                                       : 0;
        return action.answer != 0 ? std::nullopt : std::optional<std::string>("answer yes, no or ok");
    default: {
        const bool restored = equalsIgnoreCase(word, "restored");
        const bool minimized = equalsIgnoreCase(word, "minimized");
        const bool maximized = equalsIgnoreCase(word, "maximized");
        action.sizeKind = minimized ? SIZE_MINIMIZED : maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
        return restored || minimized || maximized ? std::nullopt
                                                  : std::optional<std::string>("size restored, minimized or maximized");
    }
    }
}

std::optional<std::string> parseForm(const Words& words, ScriptAction& action) {
    const size_t wanted = action.verb == ScriptVerb::FormClass ? 3 : 2;
    if (words.size() != wanted) return wanted == 3 ? "needs a form id and a class (N, S, V or A)" : "needs a form id";
    const auto id = unsignedNumber(words[1], kLastFormId);
    if (!id) return "the form id must be 0 to 29";
    action.number = static_cast<uint32_t>(*id);
    if (wanted == 3) {
        const size_t letter =
            words[2].size() == 1
                ? kClassLetters.find(static_cast<char>(std::toupper(static_cast<unsigned char>(words[2][0]))))
                : std::string_view::npos;
        if (letter == std::string_view::npos) return "the class must be N, S, V or A";
        action.beatClass = static_cast<uint8_t>(letter);
    }
    return std::nullopt;
}

std::optional<std::string> parseArguments(const Words& words, std::string_view line, ScriptAction& action) {
    switch (action.verb) {
    case ScriptVerb::Key: return parseKey(words, action);
    case ScriptVerb::Click:
    case ScriptVerb::RightClick:
    case ScriptVerb::Press:
    case ScriptVerb::Move:
    case ScriptVerb::Release: return parsePoint(words, action);
    case ScriptVerb::Shot:
    case ScriptVerb::Dump:
    case ScriptVerb::Drop:
    case ScriptVerb::Choose:
        // The file name is the rest of the line, so it may hold blanks.
        action.path =
            std::string(trim(line.substr(static_cast<size_t>(words[0].data() + words[0].size() - line.data()))));
        action.cancelled = action.verb == ScriptVerb::Choose && equalsIgnoreCase(action.path, "cancel");
        return action.path.empty() ? std::optional<std::string>("needs a file name") : std::nullopt;
    case ScriptVerb::Close:
    case ScriptVerb::Forms: return words.size() == 1 ? std::nullopt : std::optional<std::string>("takes no argument");
    case ScriptVerb::Form:
    case ScriptVerb::FormClass:
    case ScriptVerb::FormMove: return parseForm(words, action);
    default: return parseWord(words, action);
    }
}

std::optional<std::string> parseLine(std::string_view line, ScriptAction& action) {
    const Words words = tokens(line);
    for (const Verb& verb : verbs) {
        if (equalsIgnoreCase(words[0], verb.name)) {
            action.verb = verb.verb;
            const auto problem = parseArguments(words, line, action);
            return problem ? std::optional<std::string>(std::string(verb.name) + ": " + *problem) : std::nullopt;
        }
    }
    return "unknown action \"" + std::string(words[0].substr(0, 40)) + "\"";
}

}  // namespace

std::optional<uint32_t> ScriptReader::keyFromName(std::string_view name) {
    if (name.size() == 1) {
        const char c = lower(name[0]);
        if (c >= 'a' && c <= 'z') {
            return static_cast<uint32_t>(c - 'a' + 'A');
        }
        if (c >= '0' && c <= '9') {
            return static_cast<uint32_t>(c);
        }
        return std::nullopt;
    }
    static constexpr std::array<std::pair<std::string_view, uint32_t>, 9> named{{
        {"left", VK_LEFT},
        {"right", VK_RIGHT},
        {"up", VK_UP},
        {"down", VK_DOWN},
        {"pageup", VK_PRIOR},
        {"pagedown", VK_NEXT},
        {"delete", VK_DELETE},
        {"enter", VK_RETURN},
        {"escape", VK_ESCAPE},
    }};
    for (const auto& [text, key] : named) {
        if (equalsIgnoreCase(name, text)) {
            return key;
        }
    }
    return std::nullopt;
}

Script ScriptReader::parse(std::string_view text) {
    Script script;
    int32_t lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        line = trim(line.substr(0, std::min(line.find('#'), line.size())));
        if (line.empty()) {
            continue;
        }
        ScriptAction action;
        action.lineNumber = lineNumber;
        if (auto problem = parseLine(line, action)) {
            script.actions.clear();
            script.error = ScriptError{lineNumber, std::move(*problem)};
            return script;
        }
        script.actions.push_back(std::move(action));
    }
    return script;
}

Script ScriptReader::readFile(const std::string& path) {
    std::ifstream file(pathFromUtf8(path), std::ios::binary);
    if (!file) {
        Script script;
        script.error = ScriptError{0, "cannot read script \"" + path + "\""};
        return script;
    }
    std::string text;
    std::array<char, 65536> chunk{};
    while (file && text.size() <= fileLimitBytes) {
        file.read(chunk.data(), chunk.size());
        text.append(chunk.data(), static_cast<size_t>(file.gcount()));
    }
    if (text.size() > fileLimitBytes) {
        Script script;
        script.error = ScriptError{0, "script \"" + path + "\" is too large"};
        return script;
    }
    return parse(text);
}

}  // namespace lumen
