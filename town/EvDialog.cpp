// The dialogue primitives: a line that waits for the player, the speaker's face and
// the choices of two or three answers.
#include <string>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "town/EvPictures.h"
#include "town/Evsrvfm.h"

namespace {

template <class F, class... A>
void Call(const F& hook, A&&... args) {
    if (hook) hook(std::forward<A>(args)...);
}

}  // namespace

void TEventServerDbg::DspMsg(const std::string& line) {
    ui::RecordBig5("line", line);
    // Until the message window exists there is nothing to wait for.
    DebugStep("DspMsg");
}

void TEventServerDbg::FaceGr(int face) {
    ui::Record("face", std::to_string(face));
    Call(EventServerHooks.MsgSetFace, face);
    m_Img->Update();
    DebugStep("FaceGr");
}

void TEventServerDbg::RefreshStage() {
    Call(EventServerHooks.MsgClearFace);
    m_Img->Repaint();
}

int TEventServerDbg::SelWin2(const std::string& c0, const std::string& c1) {
    ui::RecordBig5("choice", c0 + " / " + c1);
    // Until the choice window exists no button can answer.
    const int result = -1;
    ui::Record("answer", std::to_string(result));
    DebugStep("SelWin2");
    return result;
}

int TEventServerDbg::SelWin3(const std::string& c0, const std::string& c1, const std::string& c2) {
    ui::RecordBig5("choice", c0 + " / " + c1 + " / " + c2);
    const int result = -1;
    ui::Record("answer", std::to_string(result));
    DebugStep("SelWin3");
    return result;
}

bool TEventServerDbg::SetMsgWinPicture(const std::string& name) {
    EvGrNames[kMsgWinPicture] = name;
    return true;
}
