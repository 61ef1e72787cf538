// The story loader's checks, run over every line of the story at start-up: the page
// check and the speaker's tag beside the string-comparing check they replaced
// (tests/story/LineCheckReference.h), and the whole load of the story's texts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "story/Dialogue.h"
#include "tests/story/LineCheckReference.h"

namespace {

// The story's texts as written, from the source tree.
const std::vector<std::pair<std::string, std::string>>& Texts() {
    static const std::vector<std::pair<std::string, std::string>> texts = [] {
        namespace fs = std::filesystem;
        std::vector<std::pair<std::string, std::string>> out;
        const fs::path dir = fs::path(LUMIA_SOURCE_DIR) / "story" / "text";
        std::error_code ec;
        for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
            if (e.path().extension() != ".txt") continue;
            std::ifstream in(e.path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            out.emplace_back(e.path().filename().string(), text.str());
        }
        std::sort(out.begin(), out.end());
        return out;
    }();
    return texts;
}

// Every line and caption of the story, in Big5.
const std::vector<std::string>& Lines() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> out;
        std::vector<story::Scene> scenes;
        std::vector<std::string> errors;
        for (const auto& [name, text] : Texts()) story::ParseDialogue(name, text, scenes, errors);
        for (const story::Scene& s : scenes)
            for (const story::Step& st : s.steps)
                if (!st.text.empty()) out.push_back(st.text);
        return out;
    }();
    return lines;
}

template <std::string (*Check)(std::string_view)>
void BM_Lines(benchmark::State& state) {
    const std::vector<std::string>& lines = Lines();
    if (lines.empty()) state.SkipWithError("no story texts in the source tree");
    std::size_t bytes = 0;
    for (const std::string& l : lines) bytes += l.size();
    for (auto _ : state)
        for (const std::string& l : lines) benchmark::DoNotOptimize(Check(l));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_Lines<story::LineProblem>)->Name("LineProblem")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lines<reference::LineProblem>)
    ->Name("LineProblem/string_compare")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lines<story::SpeakerTag>)->Name("SpeakerTag")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lines<reference::SpeakerTag>)
    ->Name("SpeakerTag/string_compare")
    ->Unit(benchmark::kMicrosecond);

// The whole load: every file parsed, its lines converted and checked, as at start-up.
void BM_ParseStory(benchmark::State& state) {
    const auto& texts = Texts();
    if (texts.empty()) state.SkipWithError("no story texts in the source tree");
    std::size_t bytes = 0;
    for (const auto& t : texts) bytes += t.second.size();
    for (auto _ : state) {
        std::vector<story::Scene> scenes;
        std::vector<std::string> errors;
        for (const auto& [name, text] : texts) story::ParseDialogue(name, text, scenes, errors);
        benchmark::DoNotOptimize(scenes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ParseStory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
