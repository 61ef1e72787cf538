// The dialogue primitives: a line that waits for the player, the speaker's face and
// the choices of two or three answers, shown in the message and choice windows.
#include <array>
#include <string>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "town/EvPictures.h"
#include "town/Evsrvfm.h"
#include "town/Mdpform.h"
#include "town/Spbtnfm.h"
#include "town/Srcdbtxtform21.h"

namespace {

constexpr int kChoiceMargin = 8;
constexpr int kChoiceGap = 8;
constexpr ui::TColor kCaptionColour = 128;  // dark red, as the message text

// The speaker of a line: the text before its first 「 or 『 (Big5 A1 75 / A1 79),
// found on character boundaries; empty when the line has neither.
std::string SpeakerOf(const std::string& big5) {
    for (std::size_t i = 0; i < big5.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(big5[i]);
        if (!ui::IsBig5Lead(c)) continue;
        if (i + 1 < big5.size() && c == 0xA1 &&
            (static_cast<unsigned char>(big5[i + 1]) == 0x75 ||
             static_cast<unsigned char>(big5[i + 1]) == 0x79))
            return big5.substr(0, i);
        ++i;
    }
    return {};
}

// The line as it stands, then who says it with which face.
void RecordLine(const std::string& big5, int face) {
    if (!ui::ActiveTranscript()) return;
    ui::RecordBig5("line", big5);
    ui::Record("speaker", ui::Big5ToUtf8(SpeakerOf(big5)) + " face " + std::to_string(face));
}

}  // namespace

void TEventServerDbg::DspMsg(const std::string& line) {
    RecordLine(line, m_Face);
    TDbTxtForm2* win = DbTxtForm2;
    if (!win) return;
    if (!win->Visible()) win->Show();
    win->SetText(line);
    ui::WaitScope scope("DspMsg");
    while (DbTxtForm2 == win) {
        if (win->TestState(kMsgAcknowledged)) {
            // The player moved on: a voice still speaking is cut off.
            if (MdpFm) MdpFm->StopWave();
            win->EndFaceMarks();
            DebugStep("DspMsg");
            return;
        }
        win->Tick();
        if (!ui::HaveApp()) return;
        ui::Application& app = ui::App();
        app.ProcessMessages();
        if (ShopRedrawOn && Hooks.ShopSceneStep) Hooks.ShopSceneStep();
        if (app.Terminated()) return;
        if (DbTxtForm2 == win && !win->TestState(kMsgAcknowledged)) app.WaitMessage();
    }
}

void TEventServerDbg::FaceGr(int face) {
    m_Face = face;
    ui::Record("face", std::to_string(face));
    if (DbTxtForm2) DbTxtForm2->SetFace(face);
    m_Img->Update();
    DebugStep("FaceGr");
}

void TEventServerDbg::RefreshStage() {
    if (DbTxtForm2) DbTxtForm2->ClearFace();
    m_Img->Repaint();
}

int TEventServerDbg::SelWin2(const std::string& c0, const std::string& c1) {
    const int result = Choose({c0, c1, std::string()}, 2);
    DebugStep("SelWin2");
    return result;
}

int TEventServerDbg::SelWin3(const std::string& c0, const std::string& c1, const std::string& c2) {
    const int result = Choose({c0, c1, c2}, 3);
    DebugStep("SelWin3");
    return result;
}

int TEventServerDbg::Choose(const std::array<std::string, 3>& captions, int count) {
    std::int32_t result = -1;
    if (ui::ActiveTranscript()) {
        std::string shown;
        for (int i = 0; i < count; ++i)
            shown += (i ? " / " : "") + ui::Big5ToUtf8(captions[static_cast<std::size_t>(i)]);
        ui::Record("choice", shown);
    }
    TDbTxtForm2* win = DbTxtForm2;
    if (win && ui::HaveApp()) {
        BtnForm = new TBtnForm();
        BtnForm->SetBackground(win->m_CntBack.Bitmap());
        BtnForm->LayoutButtons(count, kChoiceMargin, kChoiceGap);
        BtnForm->SetFont(win->TextFont(), kCaptionColour);
        BtnForm->SetBounds(win->Left() + win->m_ImgMain->Left(), win->Top() + win->m_ImgMain->Top(),
                           BtnForm->Width(), BtnForm->Height());
        BtnForm->SetCaptions(captions);
        BtnForm->SetResultPtr(&result);
        win->HideForChoice();
        m_Img->Repaint();
        BtnForm->ShowModal();
        m_Img->Repaint();
        if (DbTxtForm2 == win) win->ShowAfterChoice();
        delete BtnForm;
        BtnForm = nullptr;
    }
    ui::Record("answer", std::to_string(result));
    return result;
}

bool TEventServerDbg::SetMsgWinPicture(const std::string& name) {
    EvGrNames[kMsgWinPicture] = name;
    return true;
}
