#include "platform/headless/InputScript.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessBackend.h"

namespace ui {

const char kInputScriptHelp[] =
    "Input scripts (--input FILE), one command a line; '#' starts a comment:\n"
    "  [+MS | @MS] COMMAND   +MS: MS virtual milliseconds after the command before\n"
    "                        (the default is +0); @MS: at MS after the start\n"
    "  wait MS               the next command comes MS later\n"
    "  click X Y [BUTTON] [MODS]   move there, press and release (BUTTON: left, right,\n"
    "                        middle; MODS: shift ctrl alt)\n"
    "  dblclick X Y [BUTTON] [MODS]\n"
    "  press X Y [BUTTON] [MODS] / release X Y [BUTTON] [MODS] / move X Y\n"
    "  drag X1 Y1 X2 Y2      press at the first point, move to the second, release\n"
    "  key NAME [MODS]       a key: a letter or digit, Return, Escape, Space, Tab, Back,\n"
    "                        Left, Right, Up, Down, Prior, Next, Home, End, Insert,\n"
    "                        Delete, F1..F12\n"
    "  type TEXT             types the (ASCII) text\n"
    "  close                 the window's close button\n"
    "  answer yes|no|ok|cancel|retry   the answer to the next message box, in order\n"
    "                        (a box with no answer left gets OK, No or Cancel)\n"
    "  screenshot FILE.png   writes the screen as it is then\n"
    "  stop                  ends the run\n"
    "Coordinates are those of the screen: 648x520 in the window mode a headless run\n"
    "shows (the 640x480 picture inside the window's frame).\n";

namespace {

struct KeyName {
    const char* name;
    int code;
};
constexpr KeyName kKeys[] = {
    {"return", vk::Return}, {"enter", vk::Return}, {"escape", vk::Escape}, {"esc", vk::Escape},
    {"space", vk::Space},   {"tab", vk::Tab},      {"back", vk::Back},     {"backspace", vk::Back},
    {"left", vk::Left},     {"right", vk::Right},  {"up", vk::Up},         {"down", vk::Down},
    {"prior", vk::Prior},   {"pageup", vk::Prior}, {"next", vk::Next},     {"pagedown", vk::Next},
    {"home", vk::Home},     {"end", vk::End},      {"insert", vk::Insert}, {"delete", vk::Delete},
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Number(const std::string& s, long lo, long hi, long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtol(s.c_str(), &end, 10);
    return *end == 0 && out >= lo && out <= hi;
}

int KeyCode(const std::string& word) {
    if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0])))
        return std::toupper(static_cast<unsigned char>(word[0]));
    const std::string w = Lower(word);
    for (const KeyName& k : kKeys)
        if (w == k.name) return k.code;
    if (w.size() >= 2 && w[0] == 'f') {
        long n = 0;
        if (Number(w.substr(1), 1, 12, n)) return vk::F1 + static_cast<int>(n) - 1;
    }
    return 0;
}

// Key down, its character when it types one, key up; as the back end's Key does.
void KeyEvents(int code, ShiftState shift, std::vector<InputEvent>& out) {
    out.push_back({.type = InputType::KeyDown, .shift = shift, .key = code});
    const bool letter = code >= 'A' && code <= 'Z';
    const bool printable =
        letter || (code >= '0' && code <= '9') || code == vk::Space || code == vk::Return;
    if (printable && !(shift & (ssCtrl | ssAlt))) {
        char ch = static_cast<char>(code);
        if (letter && !(shift & ssShift)) ch = static_cast<char>(code - 'A' + 'a');
        if (code == vk::Return) ch = '\r';
        out.push_back({.type = InputType::Char, .ch = ch});
    }
    out.push_back({.type = InputType::KeyUp, .shift = shift, .key = code});
}

class LineParser {
public:
    LineParser(int line, std::vector<std::string> words) : line_(line), words_(std::move(words)) {}

    bool Fail(std::string& error, const std::string& why) const {
        error = "line " + std::to_string(line_) + ": " + why;
        return false;
    }

    // Parses the words after the command name at `at`; fills `c`.
    bool Parse(std::size_t at, ScriptCommand& c, std::string& error) {
        const std::string cmd = Lower(words_[at]);
        std::vector<std::string> args(words_.begin() + static_cast<long>(at) + 1, words_.end());
        c.line = line_;
        if (cmd == "click" || cmd == "dblclick" || cmd == "press" || cmd == "release") {
            int x = 0, y = 0;
            MouseButton button = MouseButton::mbLeft;
            ShiftState mods = 0;
            if (!Point(args, 0, x, y, error) || !ButtonAndMods(args, 2, true, button, mods, error))
                return false;
            const ShiftState bit = ButtonBit(button);
            const InputEvent move{.type = InputType::MouseMove, .x = x, .y = y, .shift = mods};
            const InputEvent down{.type = InputType::MouseDown,
                                  .x = x,
                                  .y = y,
                                  .button = button,
                                  .shift = mods | bit};
            const InputEvent up{
                .type = InputType::MouseUp, .x = x, .y = y, .button = button, .shift = mods};
            if (cmd == "press") {
                c.events = {move, down};
            } else if (cmd == "release") {
                c.events = {move, up};
            } else {
                c.events = {move, down, up};
                if (cmd == "dblclick") {
                    InputEvent dbl = down;
                    dbl.type = InputType::DoubleClick;
                    dbl.shift |= ssDouble;
                    c.events.push_back(dbl);
                    c.events.push_back(up);
                }
            }
        } else if (cmd == "move") {
            int x = 0, y = 0;
            if (args.size() != 2) return Fail(error, "move takes X Y");
            if (!Point(args, 0, x, y, error)) return false;
            c.events = {{.type = InputType::MouseMove, .x = x, .y = y}};
        } else if (cmd == "drag") {
            int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            MouseButton button = MouseButton::mbLeft;
            ShiftState mods = 0;
            if (!Point(args, 0, x1, y1, error) || !Point(args, 2, x2, y2, error) ||
                !ButtonAndMods(args, 4, true, button, mods, error))
                return false;
            const ShiftState bit = ButtonBit(button);
            c.events = {
                {.type = InputType::MouseMove, .x = x1, .y = y1, .shift = mods},
                {.type = InputType::MouseDown,
                 .x = x1,
                 .y = y1,
                 .button = button,
                 .shift = mods | bit},
                {.type = InputType::MouseMove, .x = x2, .y = y2, .shift = mods | bit},
                {.type = InputType::MouseUp, .x = x2, .y = y2, .button = button, .shift = mods}};
        } else if (cmd == "key") {
            if (args.empty()) return Fail(error, "key needs a key name");
            const int code = KeyCode(args[0]);
            if (code == 0) return Fail(error, "unknown key \"" + args[0] + "\"");
            MouseButton unused = MouseButton::mbLeft;
            ShiftState mods = 0;
            if (!ButtonAndMods(args, 1, false, unused, mods, error)) return false;
            KeyEvents(code, mods, c.events);
        } else if (cmd == "type") {
            if (args.empty()) return Fail(error, "type needs a text");
            std::string text;
            for (std::size_t i = 0; i < args.size(); ++i) text += (i ? " " : "") + args[i];
            for (char ch : text) {
                const unsigned char u = static_cast<unsigned char>(ch);
                if (u >= 0x80 || u < 0x20) return Fail(error, "type takes ASCII text only");
                if (std::isalpha(u))
                    KeyEvents(std::toupper(u), std::isupper(u) ? ssShift : 0, c.events);
                else if (std::isdigit(u) || ch == ' ')
                    KeyEvents(ch, 0, c.events);
                else
                    c.events.push_back({.type = InputType::Char, .ch = ch});
            }
        } else if (cmd == "close") {
            if (!args.empty()) return Fail(error, "close takes nothing");
            c.events = {{.type = InputType::Close}};
        } else if (cmd == "answer") {
            if (args.size() != 1) return Fail(error, "answer takes one of yes no ok cancel retry");
            const std::string a = Lower(args[0]);
            c.kind = ScriptCommand::Kind::Answer;
            c.answer = a == "yes"      ? IDYES
                       : a == "no"     ? IDNO
                       : a == "ok"     ? IDOK
                       : a == "cancel" ? IDCANCEL
                       : a == "retry"  ? IDRETRY
                                       : 0;
            if (c.answer == 0) return Fail(error, "answer takes one of yes no ok cancel retry");
        } else if (cmd == "screenshot") {
            if (args.size() != 1) return Fail(error, "screenshot takes one file name");
            c.kind = ScriptCommand::Kind::Screenshot;
            c.text = args[0];
            return true;
        } else if (cmd == "stop") {
            if (!args.empty()) return Fail(error, "stop takes nothing");
            c.kind = ScriptCommand::Kind::Stop;
        } else {
            return Fail(error, "unknown command \"" + words_[at] + "\"");
        }
        for (std::size_t i = at; i < words_.size(); ++i) c.text += (i > at ? " " : "") + words_[i];
        return true;
    }

private:
    bool Point(const std::vector<std::string>& args, std::size_t i, int& x, int& y,
               std::string& error) const {
        long a = 0, b = 0;
        if (args.size() < i + 2 || !Number(args[i], -4096, 4096, a) ||
            !Number(args[i + 1], -4096, 4096, b))
            return Fail(error, "expected a point X Y");
        x = static_cast<int>(a);
        y = static_cast<int>(b);
        return true;
    }

    bool ButtonAndMods(const std::vector<std::string>& args, std::size_t from, bool buttons,
                       MouseButton& button, ShiftState& mods, std::string& error) const {
        for (std::size_t i = from; i < args.size(); ++i) {
            const std::string w = Lower(args[i]);
            if (buttons && w == "left")
                button = MouseButton::mbLeft;
            else if (buttons && w == "right")
                button = MouseButton::mbRight;
            else if (buttons && w == "middle")
                button = MouseButton::mbMiddle;
            else if (w == "shift")
                mods |= ssShift;
            else if (w == "ctrl")
                mods |= ssCtrl;
            else if (w == "alt")
                mods |= ssAlt;
            else
                return Fail(error, "unexpected \"" + args[i] + "\"");
        }
        return true;
    }

    int line_;
    std::vector<std::string> words_;
};

}  // namespace

bool ParseInputScript(std::string_view text, std::vector<ScriptCommand>& out, std::string& error) {
    std::vector<ScriptCommand> commands;
    std::istringstream in{std::string(text)};
    std::string raw;
    int line = 0;
    std::uint64_t planned = 0;  // when the last command is planned, from the start
    std::uint32_t pendingWait = 0;
    constexpr std::uint64_t kLongest = 0x7FFFFFFF;
    while (std::getline(in, raw)) {
        ++line;
        if (const auto hash = raw.find('#'); hash != std::string::npos) raw.erase(hash);
        std::istringstream words(raw);
        std::vector<std::string> w;
        for (std::string s; words >> s;) w.push_back(s);
        if (w.empty()) continue;
        LineParser p(line, w);

        std::size_t at = 0;
        std::uint64_t when = planned + pendingWait;
        if (w[0][0] == '+' || w[0][0] == '@') {
            long ms = 0;
            if (!Number(w[0].substr(1), 0, static_cast<long>(kLongest), ms))
                return p.Fail(error, "bad time \"" + w[0] + "\"");
            if (w[0][0] == '+') {
                when = planned + pendingWait + static_cast<std::uint64_t>(ms);
            } else {
                when = static_cast<std::uint64_t>(ms);
                if (when < planned + pendingWait)
                    return p.Fail(error, std::string("@")
                                             .append(std::to_string(ms))
                                             .append(" lies before the command above"));
            }
            at = 1;
            if (w.size() == 1) return p.Fail(error, "a time needs a command after it");
        }
        if (Lower(w[at]) == "wait") {
            long ms = 0;
            if (w.size() != at + 2 || !Number(w[at + 1], 0, static_cast<long>(kLongest), ms))
                return p.Fail(error, "wait takes milliseconds");
            pendingWait =
                static_cast<std::uint32_t>(when - planned + static_cast<std::uint64_t>(ms));
            if (when + static_cast<std::uint64_t>(ms) > kLongest)
                return p.Fail(error, "the script runs too long");
            continue;
        }
        if (when > kLongest) return p.Fail(error, "the script runs too long");
        ScriptCommand c;
        if (!p.Parse(at, c, error)) return false;
        if (c.kind == ScriptCommand::Kind::Answer) {
            // Answers take no time: their time carries over to the next command.
            pendingWait = static_cast<std::uint32_t>(when - planned);
            commands.push_back(std::move(c));
            continue;
        }
        c.afterMs = static_cast<std::uint32_t>(when - planned);
        planned = when;
        pendingWait = 0;
        commands.push_back(std::move(c));
    }
    out = std::move(commands);
    return true;
}

void InputScriptPlayer::Play(const std::vector<ScriptCommand>& commands) {
    HeadlessBackend& b = backend_;
    for (const ScriptCommand& c : commands) {
        switch (c.kind) {
            case ScriptCommand::Kind::Answer:
                answers_.push_back(c.answer);
                break;
            case ScriptCommand::Kind::Input:
                for (std::size_t i = 0; i < c.events.size(); ++i) {
                    if (i == 0) b.NoteNext(c.text);
                    b.Script(c.events[i], i == 0 ? c.afterMs : 0);
                }
                break;
            case ScriptCommand::Kind::Screenshot: {
                const std::string file = c.text;
                b.NoteNext("screenshot " + file);
                b.ScriptAction(
                    [this, file] {
                        App().Invalidate();
                        App().Update();
                        if (!backend_.WriteScreenPng(file)) {
                            std::fprintf(stderr, "lumia: cannot write %s\n", file.c_str());
                            ++failures_;
                        }
                    },
                    c.afterMs);
                break;
            }
            case ScriptCommand::Kind::Stop:
                b.NoteNext("stop");
                b.ScriptAction([] { App().Terminate(); }, c.afterMs);
                break;
        }
    }
    b.SetMessageBoxResponder([this](const MessageBoxRequest& r) {
        int answer = r.DefaultAnswer();
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        }
        Record("box", Big5ToUtf8(r.caption) + ": " + Big5ToUtf8(r.text) + " -> " +
                          (answer == IDYES      ? "yes"
                           : answer == IDNO     ? "no"
                           : answer == IDCANCEL ? "cancel"
                           : answer == IDRETRY  ? "retry"
                                                : "ok"));
        return answer;
    });
}

}  // namespace ui
