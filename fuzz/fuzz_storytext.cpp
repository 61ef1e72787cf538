// Feeds arbitrary text to the story's loader: every record kind, broken numbers, names
// the register lacks, choices without options, broken UTF-8. It may refuse the input
// with errors but never read outside it, and whatever it keeps must name its scenes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "story/Dialogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<story::Scene> scenes;
    std::vector<std::string> errors;
    story::ParseDialogue("fuzz.txt", text, scenes, errors);
    story::MissingScenes(scenes);
    for (const story::Scene& s : scenes)
        for (const story::Step& st : s.steps) story::LineProblem(st.text);
    return 0;
}
