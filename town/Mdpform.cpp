#include "town/Mdpform.h"

#include "media/Qvpack.h"
#include "platform/Audio.h"
#include "platform/Transcript.h"

TMdpFm* MdpFm = nullptr;

TMdpFm::TMdpFm() : m_PnlAvi(this) {
    SetVisible(false);
    m_PnlAvi.SetVisible(false);
    m_Qvwv.SetSyncMode(smASync);
}

TMdpFm::~TMdpFm() {
    if (MdpFm == this) MdpFm = nullptr;
}

bool TMdpFm::OpenCdAudio() {
    m_DeviceOpen = true;
    return true;
}

void TMdpFm::CloseCdAudio() {
    StopTrack();
    m_DeviceOpen = false;
}

void TMdpFm::ReopenCdAudio() {
    m_DeviceOpen = true;
    if (m_CurrentTrack >= 2) PlayTrack(m_CurrentTrack);
}

void TMdpFm::PlayTrackOnce(int n) {
    m_Loop = false;
    PlayTrack(n);
}

void TMdpFm::PlayTrackLoop(int n) {
    m_Loop = true;
    if (n == m_CurrentTrack && DevicePlaying()) return;
    PlayTrack(n);
}

void TMdpFm::PlayTrack(int n) {
    m_Playing = false;
    StopTrack();
    // The stop above leaves no track current, also when the device had stopped on
    // its own, so a track that does not start leaves none.
    m_CurrentTrack = -1;
    // Positioning the disc is finding the track's file: without one (or with the
    // device closed) the track is silently not played.
    if (!m_DeviceOpen || !ui::music::PlayTrack(n, false)) {
        ui::Record("music", "track " + std::to_string(n) + " missing");
        return;
    }
    m_CurrentTrack = n;
    m_Playing = true;
    ui::Record("music", "track " + std::to_string(n) + (m_Loop ? " loop" : " once"));
}

void TMdpFm::StopTrack() {
    if (ui::music::IsPlaying()) {
        ui::music::Stop();
        ui::Record("music", "stop");
    }
    // Whatever stopped it, no track plays now.
    m_CurrentTrack = -1;
}

bool TMdpFm::DevicePlaying() const {
    return m_DeviceOpen && m_CurrentTrack >= 0 && ui::music::Track() == m_CurrentTrack &&
           ui::music::IsPlaying();
}

void TMdpFm::PollTrack() {
    if (!m_Playing) return;
    if (DevicePlaying()) return;
    // The track has ended: the disc moved on.
    ui::music::TakeEnded();
    if (m_Loop && m_CurrentTrack >= 0) {
        PlayTrack(m_CurrentTrack);
    } else {
        ui::music::Stop();
        m_CurrentTrack = -1;
        m_Playing = false;
    }
}

void TMdpFm::PlayWaveAsync(const std::string& name, TQvPack* pack) {
    m_Qvwv.Stop();
    m_Qvwv.Play(pack, name);
    if (pack) pack->ClosePack();
}

void TMdpFm::PlayWaveSync(const std::string& name, TQvPack* pack) {
    m_Qvwv.Stop();
    m_Qvwv.SetSyncMode(smSync);
    m_Qvwv.Play(pack, name);
    m_Qvwv.SetSyncMode(smASync);
    if (pack) pack->ClosePack();
}

void TMdpFm::StopWave() { m_Qvwv.Stop(); }
