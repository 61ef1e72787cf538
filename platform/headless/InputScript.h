#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Input.h"

// Input scripts for `lumia --headless --input FILE`: timed clicks and keys in virtual
// milliseconds and screen coordinates, answers for message boxes, screenshots and a
// stop, one command a line. kInputScriptHelp says it all for --help.
namespace ui {

class HeadlessBackend;

extern const char kInputScriptHelp[];

struct ScriptCommand {
    enum class Kind { Input, Screenshot, Stop, Answer };
    Kind kind = Kind::Input;
    std::uint32_t afterMs = 0;       // after the command before it
    std::vector<InputEvent> events;  // Input: released one after another
    std::string text;                // Screenshot: the file; Input: what it was, for the transcript
    int answer = 0;                  // Answer: IDYES, IDNO, ...
    int line = 0;
};

// Reads a script. On a fault returns false with `error` naming the line and why;
// nothing is returned then.
bool ParseInputScript(std::string_view text, std::vector<ScriptCommand>& out, std::string& error);

// Plays parsed commands on a headless back end: input and actions go into its script,
// the answers into a queue its message-box responder takes from (in the order the boxes
// come; with none left a box gets its harmless answer, OK, No or Cancel). Screenshots
// are written with the screen as it stands at that moment; a fault writing one is
// reported on stderr and counted in `failures`.
class InputScriptPlayer {
public:
    explicit InputScriptPlayer(HeadlessBackend& backend) : backend_(backend) {}
    void Play(const std::vector<ScriptCommand>& commands);
    int Failures() const { return failures_; }

private:
    HeadlessBackend& backend_;
    std::deque<int> answers_;
    int failures_ = 0;
};

}  // namespace ui
