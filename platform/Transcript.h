#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The transcript: a log of what a player would see and hear (lines with their speaker
// and face, pictures, figures, transitions, sounds, music, choices and answers, flags,
// hours, places), kept while a transcript is installed. Tests assert on it and
// `lumia --headless --transcript FILE` writes it. With none installed a record costs
// one pointer test.
//
// Kinds are short lowercase words ("line", "face", "picture", "figure", "transition",
// "sound", "voice", "music", "choice", "answer", "flag", "hour", "day", "place",
// "event", "sale", ...); the text is UTF-8.
namespace ui {

struct TranscriptEntry {
    std::uint32_t time = 0;  // tick count when it happened
    std::string kind;
    std::string text;  // UTF-8
};

class Transcript {
public:
    void Add(std::string_view kind, std::string_view utf8);
    const std::vector<TranscriptEntry>& Entries() const { return entries_; }
    // The entries of one kind, texts only, in order.
    std::vector<std::string> Texts(std::string_view kind) const;
    // One line per entry: "<time> <kind> <text>".
    std::vector<std::string> Lines() const;
    void Clear() { entries_.clear(); }
    // Writes Lines() to a file; false when it cannot.
    bool WriteTo(const std::string& path) const;

private:
    std::vector<TranscriptEntry> entries_;
};

// The installed transcript, or null. Installing null stops recording.
Transcript* ActiveTranscript();
void InstallTranscript(Transcript* transcript);

// Records a UTF-8 text when a transcript is installed.
inline void Record(std::string_view kind, std::string_view utf8) {
    if (Transcript* t = ActiveTranscript()) t->Add(kind, utf8);
}
// Records a Big5 text (converted to UTF-8) when a transcript is installed.
void RecordBig5(std::string_view kind, std::string_view big5);

// Installs a fresh transcript for the life of a scope (tests).
class ScopedTranscript {
public:
    ScopedTranscript() : previous_(ActiveTranscript()) { InstallTranscript(&transcript_); }
    ~ScopedTranscript() { InstallTranscript(previous_); }
    ScopedTranscript(const ScopedTranscript&) = delete;
    ScopedTranscript& operator=(const ScopedTranscript&) = delete;
    Transcript& operator*() { return transcript_; }
    Transcript* operator->() { return &transcript_; }

private:
    Transcript transcript_;
    Transcript* previous_;
};

}  // namespace ui
