#pragma once
#include <string>

#include "platform/Audio.h"

class TQvPack;

enum TSyncMode { smSync = 0, smASync = 1 };

// Plays one wave sound at a time from memory: a whole wave file or pack member is read
// into one buffer and handed to the wave voice. In smSync a play returns when the sound
// has ended and frees its buffer; in smASync it returns at once and the buffer stays
// until Stop or the next play, which stop the sound before freeing it.
//
// There are no system sounds here: the aliases play nothing and report that they were
// accepted.
class TQvWave {
public:
    TQvWave() = default;
    ~TQvWave() { Stop(); }
    TQvWave(const TQvWave&) = delete;
    TQvWave& operator=(const TQvWave&) = delete;

    TSyncMode SyncMode() const { return syncMode_; }
    // Only smSync and smASync are taken; any other value leaves the mode as it was.
    void SetSyncMode(int mode);

    // A member of an open pack; a missing member, a null or closed pack, an empty
    // member or one that cannot be read plays nothing.
    void Play(TQvPack* pack, const std::string& memberName);
    // A wave file (a game path); nothing when it does not open or cannot be read.
    void Play(const std::string& fileName);
    // A named system sound.
    bool PlayDef(const char* alias);
    bool PlayAsterisk() { return PlayDef("SystemAsterisk"); }
    bool PlayExclamation() { return PlayDef("SystemExclamation"); }
    bool PlayHand() { return PlayDef("SystemHand"); }
    bool PlayQuestion() { return PlayDef("SystemQuestion"); }

    // Stops whatever plays, then frees the held buffer; harmless when idle.
    void Stop() { voice_.Stop(); }
    bool HoldsBuffer() const { return voice_.HoldsBuffer(); }

private:
    ui::WaveVoice voice_;
    TSyncMode syncMode_ = smSync;
};
