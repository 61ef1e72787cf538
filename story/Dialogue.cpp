#include "story/Dialogue.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

#ifndef LUMIA_STORY_DIR
#include "resources/Resources.h"
namespace res {
extern const Resource kStoryTexts[];
}
#endif

namespace story {

int RegisterNumber(RegisterKind kind, std::string_view name) {
    struct Entry {
        RegisterKind kind;
        std::string_view name;
        int number;
    };
    static constexpr Entry kRegister[] = {
#define FLAG(n, v) {RegisterKind::Flag, #n, v},
#define VAR(n, v) {RegisterKind::Variable, #n, v},
#define MARK(n, v) {RegisterKind::DayMark, #n, v},
#define PLACE(n, v) {RegisterKind::Place, #n, v},
#define ITEM(n, v) {RegisterKind::Item, #n, v},
#define TRACK(n, v) {RegisterKind::Track, #n, v},
#include "story/Register.def"
    };
    for (const Entry& e : kRegister)
        if (e.kind == kind && e.name == name) return e.number;
    return -1;
}

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// The next blank-delimited word of `s`; empty when there is none.
std::string_view TakeWord(std::string_view& s) {
    s = Trim(s);
    std::size_t end = s.find(' ');
    if (end == std::string_view::npos) end = s.size();
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

bool ToInt(std::string_view word, int& v) {
    if (word.empty()) return false;
    const auto r = std::from_chars(word.data(), word.data() + word.size(), v);
    return r.ec == std::errc() && r.ptr == word.data() + word.size();
}

// The arguments a record takes, one letter each: n a number, f a flag's name, v a
// variable's, m a day mark's, p a place's, i an item's, k a music track's, s a scene, c
// a mechanic, l "loop" or "once", t the rest of the record as text. A trailing '?' makes
// the rest optional.
struct Keyword {
    std::string_view word;
    StepKind kind;
    std::string_view args;
};
constexpr Keyword kKeywords[] = {
    {"voice", StepKind::Sound, "n"},
    {"sound", StepKind::Sound, "n"},
    {"soundsync", StepKind::SoundSync, "n"},
    {"face", StepKind::Face, "n"},
    {"figure", StepKind::Figure, "nn"},
    {"clear", StepKind::ClearFigure, "n"},
    {"picture", StepKind::Picture, "n"},
    {"dissolve", StepKind::Dissolve, "n"},
    {"setpicture", StepKind::SetPicture, "n"},
    {"dissolveto", StepKind::DissolveTo, "n"},
    {"cleargr", StepKind::ClearPicture, ""},
    {"placegr", StepKind::PlaceGr, "p"},
    {"showplace", StepKind::ShowPlaceGr, "p"},
    {"whiteout", StepKind::WhiteOut, ""},
    {"whitein", StepKind::WhiteIn, "n"},
    {"shake", StepKind::Shake, "n"},
    {"blank", StepKind::Blank, "n"},
    {"hidestage", StepKind::HideStage, ""},
    {"showstage", StepKind::ShowStage, ""},
    {"place", StepKind::Place, "pn"},
    {"refresh", StepKind::Refresh, ""},
    {"begin", StepKind::Begin, ""},
    {"end", StepKind::End, ""},
    {"music", StepKind::Music, "kl"},
    {"stopmusic", StepKind::StopMusic, ""},
    {"placemusic", StepKind::PlaceMusic, ""},
    {"seasonmusic", StepKind::SeasonMusic, ""},
    {"time", StepKind::Time, "n"},
    {"nights", StepKind::Nights, "n"},
    {"waithour", StepKind::WaitHour, "n"},
    {"set", StepKind::SetFlag, "f"},
    {"unset", StepKind::ClearFlag, "f"},
    {"var", StepKind::SetVar, "vn"},
    {"addvar", StepKind::AddVar, "vn"},
    {"mark", StepKind::Mark, "m"},
    {"unmark", StepKind::Unmark, "m"},
    {"give", StepKind::Give, "in"},
    {"take", StepKind::Take, "in"},
    {"money", StepKind::Money, "n"},
    {"reputation", StepKind::Reputation, "n"},
    {"recipe", StepKind::Recipe, "i"},
    {"recipescene", StepKind::RecipeScene, "i"},
    {"shop", StepKind::Shop, "nn"},
    {"resetcondition", StepKind::ResetCondition, ""},
    {"play", StepKind::Play, "s"},
    {"ifset", StepKind::IfSet, "fs"},
    {"ifclear", StepKind::IfClear, "fs"},
    {"call", StepKind::Call, "c"},
    {"choice", StepKind::Choice, ""},
    {"option", StepKind::Option, "st"},
    {"otherwise", StepKind::Otherwise, "s"},
};

std::string Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t at; (at = s.find("\\n")) != std::string_view::npos;) {
        out.append(s.substr(0, at));
        out += '\n';
        s.remove_prefix(at + 2);
    }
    out.append(s);
    return out;
}

// "scene" of the current event, or "Ev:scene" as written.
std::string SceneKey(std::string_view current, std::string_view ref) {
    if (ref.find(':') != std::string_view::npos) return std::string(ref);
    std::string key(current.substr(0, current.find(':')));
    key += ':';
    key += ref;
    return key;
}

// Reads the arguments `args` asks for from `rest` into `st`; what is wrong, or "".
std::string ReadArgs(std::string_view args, std::string_view rest, const std::string& sceneKey,
                     Step& st) {
    int numbers = 0;
    for (char c : args) {
        if (c == 't') {
            const std::string u = Unescape(Trim(rest));
            rest = {};
            if (u.empty()) return "a caption is missing";
            bool fits = true;
            st.text = ui::Utf8ToBig5(u, fits);
            if (!fits) return "a character Big5 does not hold";
            continue;
        }
        const std::string_view word = TakeWord(rest);
        if (word.empty()) return "too few arguments";
        switch (c) {
            case 'n': {
                int v = 0;
                if (!ToInt(word, v))
                    return std::string("'").append(word).append("' is not a number");
                (numbers++ == 0 ? st.a : st.b) = v;
                break;
            }
            case 'f':
            case 'v':
            case 'm':
            case 'p':
            case 'i':
            case 'k': {
                const RegisterKind kind = c == 'f'   ? RegisterKind::Flag
                                          : c == 'v' ? RegisterKind::Variable
                                          : c == 'm' ? RegisterKind::DayMark
                                          : c == 'p' ? RegisterKind::Place
                                          : c == 'i' ? RegisterKind::Item
                                                     : RegisterKind::Track;
                const int v = RegisterNumber(kind, word);
                if (v < 0) {
                    const char* what = c == 'f'   ? "flag"
                                       : c == 'v' ? "variable"
                                       : c == 'm' ? "day mark"
                                       : c == 'p' ? "place"
                                       : c == 'i' ? "item"
                                                  : "track";
                    return std::string("no ") + what + " named '" + std::string(word) +
                           "' in the register";
                }
                (numbers++ == 0 ? st.a : st.b) = v;
                break;
            }
            case 's':
                // An option's "-" plays nothing: the code reads the answer (LastChoice).
                if (!(st.kind == StepKind::Option && word == "-"))
                    st.name = SceneKey(sceneKey, word);
                break;
            case 'c':
                if (!FindMechanic(word)) return "no mechanic named '" + std::string(word) + "'";
                st.name = std::string(word);
                break;
            case 'l':
                if (word != "loop" && word != "once") return "music is 'loop' or 'once'";
                st.b = word == "loop";
                break;
            default:
                break;
        }
    }
    if (!Trim(rest).empty()) return "too many arguments";
    return {};
}

// Whether the Big5 character lead:trail is a closing mark (。，、？！」』…）；：～),
// which no row of the window may start with. The loader asks it of every character of
// every line, so it looks at the two bytes as they are: all the marks stand in Big5's
// row A1.
bool IsClosingMark(unsigned char lead, unsigned char trail) {
    if (lead != 0xA1) return false;
    switch (trail) {
        case 0x43:  // 。
        case 0x41:  // ，
        case 0x42:  // 、
        case 0x48:  // ？
        case 0x49:  // ！
        case 0x76:  // 」
        case 0x7A:  // 』
        case 0x4B:  // …
        case 0x5E:  // ）
        case 0x46:  // ；
        case 0x47:  // ：
        case 0xE3:  // ～
            return true;
        default:
            return false;
    }
}

// The speaker's tag at the start of a line: the bytes before its 「 or 『, or empty.
std::string_view SpeakerTagOf(std::string_view big5) {
    constexpr std::size_t kLongestTag = 24;  // bytes: twelve full-width characters
    for (std::size_t i = 0; i + 1 < big5.size() && i <= kLongestTag; i += 2) {
        const auto lead = static_cast<unsigned char>(big5[i]);
        const auto trail = static_cast<unsigned char>(big5[i + 1]);
        if (lead < 0x81) return {};
        if (lead == 0xA1 && (trail == 0x75 || trail == 0x79))  // 「 『
            return big5.substr(0, i);
        // A full-width space or a closing mark (the full stop 。 among them) ends the
        // search: narration, not a speaker.
        if ((lead == 0xA1 && trail == 0x40) || IsClosingMark(lead, trail)) return {};
    }
    return {};
}

}  // namespace

std::string LineProblem(std::string_view big5) {
    // The message window's page: rows of 23 cells (20-pixel cells from x 14 on its
    // 480-pixel page), four rows, the fourth ending at cell 20 where the end button
    // stands. A text line longer than a row wraps onto the next; a cell that finds no
    // room is cut, and the click acknowledges the line unread. The page's cells are
    // counted row by row from 0: the end button stands at cell 89, the fifth row would
    // begin at 92.
    constexpr std::size_t kRowCells = 23;
    constexpr std::size_t kEndButton = 3 * kRowCells + 20;
    constexpr std::size_t kFifthRow = 4 * kRowCells;
    const std::size_t n = big5.size();
    std::size_t cell = 0;      // the cell the next character takes
    std::size_t lineCell = 0;  // the cell this text line began on
    std::size_t nextRow = 0;   // the first cell of the row after the one written
    std::size_t rowByte = 0;   // where that row's text begins in `big5`
    for (std::size_t i = 0;;) {
        const unsigned char lead = i < n ? static_cast<unsigned char>(big5[i]) : '\n';
        if (lead < 0x81) {
            if (lead != '\n') return "a half-width character";
            // The end of a text line (or of the whole). A wrapped one leaves at least
            // two letters, cells that are no closing mark, on its last row.
            if (cell - lineCell > kRowCells) {
                int letters = 0;
                for (std::size_t k = rowByte; k < i && letters < 2; k += 2)
                    letters += !IsClosingMark(static_cast<unsigned char>(big5[k]),
                                              static_cast<unsigned char>(big5[k + 1]));
                if (letters < 2) return "a row of the window holds a lone character";
            }
            if (i == n) return {};
            // The next text line begins on a row of its own.
            cell = lineCell = nextRow;
            ++i;
            continue;
        }
        // The window draws two-byte characters only; a single byte would vanish (or
        // change the face).
        if (i + 1 >= n) return "a half-width character";
        if (cell == nextRow) {
            // The first cell of a row, which a closing mark may not take (but for the
            // text's very first character).
            if (i > 0 && IsClosingMark(lead, static_cast<unsigned char>(big5[i + 1])))
                return "a row of the window starts with a closing mark";
            nextRow += kRowCells;
            rowByte = i;
        }
        if (cell >= kFifthRow) return "more than 4 rows: the window cuts the line";
        if (cell >= kEndButton)
            return "the fourth row runs into the end button: the window cuts the line";
        ++cell;
        i += 2;
    }
}

std::string SpeakerTag(std::string_view big5) { return std::string(SpeakerTagOf(big5)); }

bool KnownSpeaker(std::string_view big5Tag) {
    static const std::vector<std::string> kSpeakers = {
#define SPEAKER(s) ui::Utf8ToBig5(s),
#include "story/Speakers.def"
#undef SPEAKER
    };
    for (const std::string& s : kSpeakers)
        if (s == big5Tag) return true;
    return false;
}

bool ParseDialogue(std::string_view name, std::string_view utf8, std::vector<Scene>& out,
                   std::vector<std::string>& errors) {
    const std::size_t errorsBefore = errors.size();
    const std::size_t firstNew = out.size();
    int sceneIndex = -1;
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
                sceneIndex = -1;
                continue;
            }
            const std::string key(bare.substr(1, bare.size() - 2));
            bool twice = false;
            for (const Scene& s : out) twice = twice || s.key == key;
            if (twice) {
                fail("scene " + key + " is named twice");
                sceneIndex = -1;
                continue;
            }
            out.push_back(Scene{key, std::string(name), {}, 0, lineNo});
            sceneIndex = static_cast<int>(out.size()) - 1;
            lastSound = -1;
            continue;
        }
        if (sceneIndex < 0) {
            fail("a record before the first scene");
            continue;
        }
        Scene& scene = out[static_cast<std::size_t>(sceneIndex)];
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
            Step st;
            bool fits = true;
            st.text = ui::Utf8ToBig5(u, fits);
            if (!fits) {
                fail("a character Big5 does not hold");
                continue;
            }
            st.kind = StepKind::Line;
            st.voice = lastSound;
            st.line = lineNo;
            if (const std::string p = LineProblem(st.text); !p.empty()) fail(p);
            if (const std::string_view tag = SpeakerTagOf(st.text);
                !tag.empty() && !KnownSpeaker(tag))
                fail("an unknown speaker " + ui::Big5ToUtf8(tag));
            lastSound = -1;
            scene.steps.push_back(std::move(st));
            continue;
        }
        const Keyword* kw = nullptr;
        for (const Keyword& k : kKeywords)
            if (k.word == word) {
                kw = &k;
                break;
            }
        if (!kw) {
            fail("unknown record '" + std::string(word) + "'");
            continue;
        }
        Step st;
        st.kind = kw->kind;
        st.line = lineNo;
        std::string_view args = kw->args;
        // "begin voice N" and "end stopmusic M" are the voiced and music-stopping frames.
        if (st.kind == StepKind::Begin && !Trim(rest).empty()) {
            if (TakeWord(rest) != "voice") {
                fail("'begin' takes nothing or 'voice N'");
                continue;
            }
            st.kind = StepKind::BeginVoice;
            args = "n";
        } else if (st.kind == StepKind::End && !Trim(rest).empty()) {
            if (TakeWord(rest) != "stopmusic") {
                fail("'end' takes nothing or 'stopmusic M'");
                continue;
            }
            st.kind = StepKind::EndStopMusic;
            args = "n";
        }
        if (const std::string p = ReadArgs(args, rest, scene.key, st); !p.empty()) {
            fail(std::string("'").append(word).append("': ").append(p));
            continue;
        }
        if (st.kind == StepKind::Option) {
            const std::vector<Step>& steps = scene.steps;
            int options = 0;
            for (auto it = steps.rbegin(); it != steps.rend() && it->kind == StepKind::Option; ++it)
                ++options;
            const bool afterChoice = steps.size() > static_cast<std::size_t>(options) &&
                                     steps[steps.size() - 1 - options].kind == StepKind::Choice;
            if (!afterChoice) {
                fail("an option stands after a choice");
                continue;
            }
            if (options == 3) {
                fail("a choice has at most three options");
                continue;
            }
        }
        if (st.kind == StepKind::Otherwise &&
            (scene.steps.empty() || scene.steps.back().kind != StepKind::Option)) {
            fail("'otherwise' stands after a choice's options");
            continue;
        }
        if (st.kind == StepKind::Sound) lastSound = st.a;
        scene.steps.push_back(std::move(st));
    }
    // Every choice is followed by two or three options.
    for (std::size_t s = firstNew; s < out.size(); ++s) {
        const std::vector<Step>& steps = out[s].steps;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            if (steps[i].kind != StepKind::Choice) continue;
            std::size_t n = 0;
            while (i + 1 + n < steps.size() && steps[i + 1 + n].kind == StepKind::Option) ++n;
            if (n < 2)
                errors.push_back(std::string(name) + ":" + std::to_string(steps[i].line) +
                                 ": a choice has two or three options");
        }
    }
    return errors.size() == errorsBefore;
}

namespace {

bool RefersToScene(const Step& st) {
    return (st.kind == StepKind::Play || st.kind == StepKind::IfSet ||
            st.kind == StepKind::IfClear || st.kind == StepKind::Option ||
            st.kind == StepKind::Otherwise) &&
           !st.name.empty();
}

// Whether `key` or a scene it plays, however deep, holds an end record.
bool ReachesEnd(const std::vector<Scene>& scenes, const std::string& key,
                std::vector<std::string>& seen) {
    if (std::find(seen.begin(), seen.end(), key) != seen.end()) return false;
    seen.push_back(key);
    for (const Scene& s : scenes) {
        if (s.key != key) continue;
        for (const Step& st : s.steps) {
            if (st.kind == StepKind::End || st.kind == StepKind::EndStopMusic) return true;
            if (RefersToScene(st) && ReachesEnd(scenes, st.name, seen)) return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> MissingScenes(const std::vector<Scene>& scenes) {
    std::vector<std::string> out;
    for (const Scene& s : scenes)
        for (const Step& st : s.steps) {
            if (!RefersToScene(st)) continue;
            bool found = false;
            for (const Scene& t : scenes) found = found || t.key == st.name;
            if (!found)
                out.push_back(s.file + ":" + std::to_string(st.line) + ": no scene " + st.name);
        }
    return out;
}

std::vector<std::string> UnendedEvents(const std::vector<Scene>& scenes) {
    std::vector<std::string> out;
    for (const Scene& s : scenes) {
        if (!s.key.ends_with(":main")) continue;
        const auto begin = std::find_if(s.steps.begin(), s.steps.end(), [](const Step& st) {
            return st.kind == StepKind::Begin || st.kind == StepKind::BeginVoice;
        });
        if (begin == s.steps.end()) continue;
        std::vector<std::string> seen;
        if (!ReachesEnd(scenes, s.key, seen))
            out.push_back(s.file + ":" + std::to_string(begin->line) + ": " + s.key +
                          " begins an event and never ends it");
    }
    return out;
}

namespace {
struct Store {
    std::vector<Scene> scenes;
    std::vector<std::string> errors;
    std::vector<std::string> missing;  // scenes asked for in vain since the last reset
    int lastChoice = -1;
};

void ReadTexts(Store& st) {
#ifdef LUMIA_STORY_DIR
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(LUMIA_STORY_DIR, ec))
        if (e.path().extension() == ".txt") files.push_back(e.path());
    if (ec) st.errors.push_back(std::string(LUMIA_STORY_DIR) + ": " + ec.message());
    std::sort(files.begin(), files.end());
    for (const fs::path& p : files) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        ParseDialogue(p.filename().string(), text.str(), st.scenes, st.errors);
    }
#else
    for (const res::Resource* r = res::kStoryTexts; r->name; ++r) {
        const std::string_view name(r->name);
        if (name.size() < 4 || name.substr(name.size() - 4) != ".txt") continue;
        const std::string_view text(reinterpret_cast<const char*>(r->data), r->size);
        ParseDialogue(r->name, text, st.scenes, st.errors);
    }
#endif
}

Store& TheStore() {
    static Store store = [] {
        Store st;
        ReadTexts(st);
        for (std::string& e : MissingScenes(st.scenes)) st.errors.push_back(std::move(e));
        for (std::string& e : UnendedEvents(st.scenes)) st.errors.push_back(std::move(e));
        for (const std::string& e : st.errors) std::fprintf(stderr, "story text: %s\n", e.c_str());
        return st;
    }();
    return store;
}

Scene* FindKey(std::string_view key) {
    for (Scene& s : Scenes())
        if (s.key == key) return &s;
    return nullptr;
}

bool PlaySteps(Scene& s, const AfterLine& afterLine);

bool PlayKey(const std::string& key, const AfterLine& afterLine) {
    Scene* s = FindKey(key);
    if (!s) {
        TheStore().missing.push_back(key);
        std::fprintf(stderr, "story text: no scene %s\n", key.c_str());
        return false;
    }
    // Which scenes played, by key: the whole-year runs tell the story's events by it.
    ui::Record("scene", key);
    return PlaySteps(*s, afterLine);
}

bool PlaySteps(Scene& s, const AfterLine& afterLine) {
    ++s.plays;
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    std::vector<Step>& steps = s.steps;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        Step& st = steps[i];
        ++st.plays;
        switch (st.kind) {
            case StepKind::Line:
                ev->DspMsg(st.text);
                if (afterLine && afterLine(st.voice)) return false;
                break;
            case StepKind::Sound:
                ev->PlaySound(st.a);
                break;
            case StepKind::SoundSync:
                ev->PlaySoundSync(st.a);
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
            case StepKind::DissolveTo:
                ev->DissolveToGr(st.a);
                break;
            case StepKind::ClearPicture:
                ev->ClearGr();
                break;
            case StepKind::PlaceGr:
                ev->SetPlaceGr(st.a);
                break;
            case StepKind::ShowPlaceGr:
                ev->ShowPlaceGr(st.a);
                break;
            case StepKind::WhiteOut:
                ev->WhiteOut();
                break;
            case StepKind::WhiteIn:
                ev->WhiteIn(st.a);
                break;
            case StepKind::Shake:
                ev->ShakeGr(st.a);
                break;
            case StepKind::Blank:
                ev->ShowBlankStage(st.a != 0);
                break;
            case StepKind::HideStage:
                ev->HideStage();
                break;
            case StepKind::ShowStage:
                ev->ShowStage();
                break;
            case StepKind::Place:
                ev->SetPlace(st.a, st.b != 0);
                break;
            case StepKind::Refresh:
                ev->RefreshStage();
                break;
            case StepKind::Begin:
                ev->EventBegin();
                break;
            case StepKind::BeginVoice:
                ev->EventBeginVoice(st.a);
                break;
            case StepKind::End:
                ev->EventEnd();
                break;
            case StepKind::EndStopMusic:
                ev->EventEndStopMusic(st.a);
                break;
            case StepKind::Music:
                ev->PlayMusic(st.a, st.b != 0);
                break;
            case StepKind::StopMusic:
                ev->StopMusic();
                break;
            case StepKind::PlaceMusic:
                ev->PlayPlaceMusic();
                break;
            case StepKind::SeasonMusic:
                ev->PlaySeasonMusic();
                break;
            case StepKind::Time:
                ev->PassTime(st.a);
                break;
            case StepKind::Nights:
                ev->PassNights(st.a);
                break;
            case StepKind::WaitHour:
                ev->WaitHour(st.a);
                break;
            case StepKind::SetFlag:
                ev->SetFlg(st.a, true);
                break;
            case StepKind::ClearFlag:
                ev->SetFlg(st.a, false);
                break;
            case StepKind::SetVar:
                ev->SetVariable(st.a, st.b);
                break;
            case StepKind::AddVar:
                ev->SetVariable(st.a, ev->EventVariable[static_cast<std::size_t>(st.a)] + st.b);
                break;
            case StepKind::Mark:
                ev->SetDayMark(st.a);
                break;
            case StepKind::Unmark:
                ev->ClearDayMark(st.a);
                break;
            case StepKind::Give:
                ev->GiveItem(st.a, st.b);
                break;
            case StepKind::Take:
                ev->TakeItem(st.a, st.b);
                break;
            case StepKind::Money:
                ev->GiveMoney(st.a);
                break;
            case StepKind::Reputation:
                ev->GiveReputation(st.a);
                break;
            case StepKind::Recipe:
                ev->LearnRecipe(st.a);
                break;
            case StepKind::RecipeScene:
                ev->LearnRecipeScene(st.a);
                break;
            case StepKind::Shop:
                ev->ShopAction(st.a, st.b);
                break;
            case StepKind::ResetCondition:
                ev->ResetCondition();
                break;
            case StepKind::Play:
                PlayKey(st.name, {});
                break;
            case StepKind::IfSet:
                if (ev->TestFlg(st.a)) PlayKey(st.name, {});
                break;
            case StepKind::IfClear:
                if (!ev->TestFlg(st.a)) PlayKey(st.name, {});
                break;
            case StepKind::Call:
                if (Mechanic m = FindMechanic(st.name)) m();
                break;
            case StepKind::Choice: {
                std::size_t n = 0;
                while (i + 1 + n < steps.size() && steps[i + 1 + n].kind == StepKind::Option) ++n;
                if (n < 2) break;  // reported at load
                const bool otherwise =
                    i + 1 + n < steps.size() && steps[i + 1 + n].kind == StepKind::Otherwise;
                for (std::size_t k = 1; k <= n + (otherwise ? 1 : 0); ++k) ++steps[i + k].plays;
                const int picked =
                    n == 2 ? ev->SelWin2(steps[i + 1].text, steps[i + 2].text)
                           : ev->SelWin3(steps[i + 1].text, steps[i + 2].text, steps[i + 3].text);
                // An answer outside the captions is no answer: no option's scene plays,
                // but the choice's "otherwise" scene does.
                const bool answered = picked >= 0 && static_cast<std::size_t>(picked) < n;
                const std::string key = answered
                                            ? steps[i + 1 + static_cast<std::size_t>(picked)].name
                                        : otherwise ? steps[i + 1 + n].name
                                                    : std::string();
                i += n + (otherwise ? 1 : 0);
                TheStore().lastChoice = answered ? picked : -1;
                if (!key.empty()) PlayKey(key, {});
                break;
            }
            case StepKind::Option:
            case StepKind::Otherwise:
                break;  // played by its choice
        }
    }
    return true;
}
}  // namespace

std::vector<Scene>& Scenes() { return TheStore().scenes; }

const std::vector<std::string>& DialogueErrors() { return TheStore().errors; }

Scene* FindScene(std::string_view event, std::string_view scene) {
    std::string key(event);
    key += ':';
    key += scene;
    return FindKey(key);
}

bool PlayScene(std::string_view event, std::string_view scene, const AfterLine& afterLine) {
    std::string key(event);
    key += ':';
    key += scene;
    return PlayKey(key, afterLine);
}

int LastChoice() { return TheStore().lastChoice; }

bool RunEvent(std::string_view event) {
    if (!FindScene(event, "main")) {
        PlayScene(event, "main");  // remembered and reported as missing
        return false;
    }
    return PlayScene(event, "main");
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
