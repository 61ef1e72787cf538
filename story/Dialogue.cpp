#include "story/Dialogue.h"

#include <charconv>
#include <cstdio>

#include "platform/Big5.h"
#include "resources/Resources.h"
#include "town/Evsrvfm.h"

namespace res {
extern const Resource kStoryTexts[];
}

namespace story {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// The next blank-delimited word of `s` as a number; false when there is none.
bool TakeInt(std::string_view& s, int& v) {
    s = Trim(s);
    std::size_t end = s.find(' ');
    if (end == std::string_view::npos) end = s.size();
    const std::string_view word = s.substr(0, end);
    if (word.empty()) return false;
    const auto r = std::from_chars(word.data(), word.data() + word.size(), v);
    if (r.ec != std::errc() || r.ptr != word.data() + word.size()) return false;
    s.remove_prefix(end);
    return true;
}

struct Keyword {
    std::string_view word;
    StepKind kind;
    int numbers;
};
constexpr Keyword kKeywords[] = {
    {"voice", StepKind::Sound, 1},       {"sound", StepKind::Sound, 1},
    {"face", StepKind::Face, 1},         {"figure", StepKind::Figure, 2},
    {"clear", StepKind::ClearFigure, 1}, {"picture", StepKind::Picture, 1},
    {"dissolve", StepKind::Dissolve, 1}, {"setpicture", StepKind::SetPicture, 1},
    {"place", StepKind::Place, 2},       {"refresh", StepKind::Refresh, 0},
};

std::string Unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

bool ParseDialogue(std::string_view name, std::string_view utf8, std::vector<Scene>& out,
                   std::vector<std::string>& errors) {
    const std::size_t errorsBefore = errors.size();
    Scene* scene = nullptr;
    int lastSound = -1;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        errors.push_back(std::string(name) + ":" + std::to_string(lineNo) + ": " + what);
    };
    while (!utf8.empty()) {
        std::size_t nl = utf8.find('\n');
        if (nl == std::string_view::npos) nl = utf8.size();
        std::string_view rec = utf8.substr(0, nl);
        utf8.remove_prefix(nl < utf8.size() ? nl + 1 : nl);
        ++lineNo;
        while (!rec.empty() && rec.back() == '\r') rec.remove_suffix(1);
        const std::string_view bare = Trim(rec);
        if (bare.empty() || bare.front() == '#') continue;
        if (bare.front() == '[') {
            if (bare.back() != ']' || bare.find(':') == std::string_view::npos) {
                fail("a scene is named [Event:scene]");
                scene = nullptr;
                continue;
            }
            const std::string key(bare.substr(1, bare.size() - 2));
            bool twice = false;
            for (const Scene& s : out) twice = twice || s.key == key;
            if (twice) {
                fail("scene " + key + " is named twice");
                scene = nullptr;
                continue;
            }
            out.push_back(Scene{key, std::string(name), {}, 0, lineNo});
            scene = &out.back();
            lastSound = -1;
            continue;
        }
        if (!scene) {
            fail("a record before the first scene");
            continue;
        }
        std::size_t sp = bare.find(' ');
        const std::string_view word = bare.substr(0, sp);
        std::string_view rest =
            sp == std::string_view::npos ? std::string_view() : bare.substr(sp + 1);
        if (word == "line") {
            // The text stands as written after "line " (a lone full-width space too).
            std::string_view text = rec.substr(rec.find("line") + 4);
            if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
            const std::string u = Unescape(text);
            if (u.empty()) {
                fail("an empty line");
                continue;
            }
            if (!ui::FitsBig5(u)) {
                fail("a character Big5 does not hold");
                continue;
            }
            Step st;
            st.kind = StepKind::Line;
            st.text = ui::Utf8ToBig5(u);
            st.voice = lastSound;
            st.line = lineNo;
            if (!NarrationFits(st.text)) fail("a narration larger than 5 lines of 32 characters");
            lastSound = -1;
            scene->steps.push_back(std::move(st));
            continue;
        }
        const Keyword* kw = nullptr;
        for (const Keyword& k : kKeywords)
            if (k.word == word) kw = &k;
        if (!kw) {
            fail("unknown record '" + std::string(word) + "'");
            continue;
        }
        Step st;
        st.kind = kw->kind;
        st.line = lineNo;
        bool ok = true;
        if (kw->numbers >= 1) ok = TakeInt(rest, st.a);
        if (ok && kw->numbers >= 2) ok = TakeInt(rest, st.b);
        if (!ok || !Trim(rest).empty()) {
            fail("'" + std::string(word) + "' takes " + std::to_string(kw->numbers) + " number(s)");
            continue;
        }
        if (st.kind == StepKind::Sound) lastSound = st.a;
        scene->steps.push_back(std::move(st));
    }
    return errors.size() == errorsBefore;
}

bool NarrationFits(std::string_view big5) {
    constexpr std::string_view kSpace = "\xA1\x40";  // the full-width space in Big5
    if (big5.substr(0, 2) != kSpace) return true;
    int lines = 1, width = 0;  // width in half-width cells
    for (std::size_t i = 0; i < big5.size(); ++i) {
        const auto c = static_cast<unsigned char>(big5[i]);
        if (c == '\n') {
            ++lines;
            width = 0;
            continue;
        }
        if (c >= 0x81 && i + 1 < big5.size()) {
            ++i;
            width += 2;
        } else {
            width += 1;
        }
        if (width > 64) return false;
    }
    return lines <= 5;
}

namespace {
struct Store {
    std::vector<Scene> scenes;
    std::vector<std::string> errors;
    std::vector<std::string> missing;  // scenes asked for in vain since the last reset
};
Store& TheStore() {
    static Store store = [] {
        Store st;
        for (const res::Resource* r = res::kStoryTexts; r->name; ++r) {
            const std::string_view text(reinterpret_cast<const char*>(r->data), r->size);
            ParseDialogue(r->name, text, st.scenes, st.errors);
        }
        for (const std::string& e : st.errors) std::fprintf(stderr, "story text: %s\n", e.c_str());
        return st;
    }();
    return store;
}
}  // namespace

std::vector<Scene>& Scenes() { return TheStore().scenes; }

const std::vector<std::string>& DialogueErrors() { return TheStore().errors; }

Scene* FindScene(std::string_view event, std::string_view scene) {
    std::string key(event);
    key += ':';
    key += scene;
    for (Scene& s : Scenes())
        if (s.key == key) return &s;
    return nullptr;
}

bool PlayScene(std::string_view event, std::string_view scene, const AfterLine& afterLine) {
    Scene* s = FindScene(event, scene);
    if (!s) {
        std::string key(event);
        key += ':';
        key += scene;
        TheStore().missing.push_back(std::move(key));
        std::fprintf(stderr, "story text: no scene %.*s:%.*s\n", static_cast<int>(event.size()),
                     event.data(), static_cast<int>(scene.size()), scene.data());
        return false;
    }
    ++s->plays;
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    for (Step& st : s->steps) {
        ++st.plays;
        switch (st.kind) {
            case StepKind::Line:
                ev->DspMsg(st.text);
                if (afterLine && afterLine(st.voice)) return false;
                break;
            case StepKind::Sound:
                ev->PlaySound(st.a);
                break;
            case StepKind::Face:
                ev->FaceGr(st.a);
                break;
            case StepKind::Figure:
                ev->ShowFigure(st.a, st.b);
                break;
            case StepKind::ClearFigure:
                ev->ClearFigure(st.a);
                break;
            case StepKind::Picture:
                ev->DspGr(st.a);
                break;
            case StepKind::Dissolve:
                ev->DspGrDissolve(st.a);
                break;
            case StepKind::SetPicture:
                ev->SetGr(st.a);
                break;
            case StepKind::Place:
                ev->SetPlace(st.a, st.b != 0);
                break;
            case StepKind::Refresh:
                ev->RefreshStage();
                break;
        }
    }
    return true;
}

void ResetPlays() {
    for (Scene& s : Scenes()) {
        s.plays = 0;
        for (Step& st : s.steps) st.plays = 0;
    }
    TheStore().missing.clear();
}

std::vector<std::string> Unaccounted(std::string_view file) {
    std::vector<std::string> out;
    for (const Scene& s : Scenes()) {
        if (!file.empty() && s.file != file) continue;
        const std::string where = s.file + ":";
        if (s.plays == 0)
            out.push_back(where + std::to_string(s.line) + ": " + s.key + " never played");
        for (const Step& st : s.steps)
            if (st.plays == 0 && s.plays != 0)
                out.push_back(where + std::to_string(st.line) + ": a record of " + s.key +
                              " never played");
    }
    for (const std::string& key : TheStore().missing) out.push_back("no scene " + key);
    return out;
}

}  // namespace story
