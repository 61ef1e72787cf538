#include "platform/Transcript.h"

#include <fstream>

#include "platform/Big5.h"
#include "platform/Clock.h"

namespace ui {

namespace {
Transcript* g_active = nullptr;
}

void Transcript::Add(std::string_view kind, std::string_view utf8) {
    entries_.push_back({GetTickCount(), std::string(kind), std::string(utf8)});
}

std::vector<std::string> Transcript::Texts(std::string_view kind) const {
    std::vector<std::string> out;
    for (const TranscriptEntry& e : entries_)
        if (e.kind == kind) out.push_back(e.text);
    return out;
}

std::vector<std::string> Transcript::Lines() const {
    std::vector<std::string> out;
    out.reserve(entries_.size());
    for (const TranscriptEntry& e : entries_)
        out.push_back(std::to_string(e.time) + " " + e.kind + " " + e.text);
    return out;
}

bool Transcript::WriteTo(const std::string& path) const {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : Lines()) f << line << '\n';
    f.flush();
    return static_cast<bool>(f);
}

Transcript* ActiveTranscript() { return g_active; }
void InstallTranscript(Transcript* transcript) { g_active = transcript; }

void RecordBig5(std::string_view kind, std::string_view big5) {
    if (Transcript* t = ActiveTranscript()) t->Add(kind, Big5ToUtf8(big5));
}

}  // namespace ui
