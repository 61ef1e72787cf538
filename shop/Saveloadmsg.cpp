#include "shop/Saveloadmsg.h"

#include <span>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "resources/Resources.h"
#include "shop/Shop.h"
#include "shop/ShopSkin.h"

TSaveLoadMessageForm* SaveLoadMessageForm = nullptr;

namespace {

constexpr int kWidth = 276;
constexpr int kHeight = 150;

// The Yes and No buttons' sheets, loaded on first use.
TCHBmpContainer& YesNoImage(bool yes) {
    static TCHBmpContainer sheets[2];
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        if (!sheets[0].LoadFromResource("ChBtYes.bmp") || !sheets[1].LoadFromResource("ChBtNo.bmp"))
            ui::Record("error", "yes/no button pictures missing");
    }
    return sheets[yes ? 0 : 1];
}

ui::Label* Line(TSaveLoadMessageForm* f, ui::Label* l, int top) {
    l->SetAutoSize(false);
    l->SetAlignment(ui::Alignment::taCenter);
    l->SetBounds(16, top, kWidth - 32, 16);
    (void)f;
    return l;
}

}  // namespace

void CentreOnShop(ui::Form& form) {
    int left = (ui::kScreenWidth - form.Width()) / 2, top = (ui::kScreenHeight - form.Height()) / 2;
    if (ShopForm) {
        left = ShopForm->Left() + (ShopForm->Width() - form.Width()) / 2;
        top = ShopForm->Top() + (ShopForm->Height() - form.Height()) / 2;
    }
    form.SetBounds(left, top, form.Width(), form.Height());
}

TSaveLoadMessageForm::TSaveLoadMessageForm()
    : TGameDialog(kWidth, kHeight, -1, CaptionStrip(8, 268, 8, 34)) {
    Name = "SaveLoadMessageForm";
    SaveLoadMessageForm = this;
    LoadBackground("DlgSaveLoadMsg.bmp");
    ImageTag = MakeDragTag(kWidth - 64, 10, 48, 20, "SaveTag.bmp");
    Label1 = Line(this, MakeLabel(16, 54, "Label1"), 54);
    Label2 = Line(this, MakeLabel(16, 76, "Label2"), 76);
    YesButton = MakeSheetButton(YesNoImage(true), 48, 110, 75, 23, "YesButton");
    NoButton = MakeSheetButton(YesNoImage(false), 153, 110, 75, 23, "NoButton");
    YesButton->OnClick = [this](ui::Control&) { YesButtonClick(); };
    NoButton->OnClick = [this](ui::Control&) { NoButtonClick(); };
}

TSaveLoadMessageForm::~TSaveLoadMessageForm() { ClearFormVariable(); }

void TSaveLoadMessageForm::ClearFormVariable() {
    if (SaveLoadMessageForm == this) SaveLoadMessageForm = nullptr;
}

void TSaveLoadMessageForm::Finish(int result) {
    finishing_ = true;
    SetModalResult(result);
}

void TSaveLoadMessageForm::SetMessageMode(int mode) {
    mode_ = mode;
    CentreOnShop(*this);
    const bool question = mode <= 2;
    YesButton->SetVisible(question);
    NoButton->SetVisible(question);
    CloseButton->SetVisible(!question);
    ImageTag->SetVisible(mode != 0);
    switch (mode) {
        case 0:
            Label1->SetCaption(B5("目前的資料將會全部消失"));
            Label2->SetCaption(B5("讀取遊戲的進度嗎？"));
            break;
        case 1:
            Label1->SetCaption(B5("儲存目前的進度嗎？"));
            Label2->SetCaption(B5("之後可以從這裡繼續遊戲"));
            break;
        case 2:
            Label1->SetCaption(B5("這個欄位已經儲存了資料"));
            Label2->SetCaption(B5("可以覆蓋上去嗎？"));
            break;
        case 3:
            Label1->SetCaption(B5("已經儲存成功"));
            Label2->SetCaption("");
            break;
        case 5:
            Label1->SetCaption(B5("已經儲存成功"));
            Label2->SetCaption(B5("但圖鑑與相簿的紀錄儲存失敗"));
            break;
        default:
            Label1->SetCaption(B5("儲存進度失敗"));
            Label2->SetCaption(B5("這個欄位原有的資料沒有改變"));
            break;
    }
    ui::RecordBig5("box",
                   Label1->Caption() + (Label2->Caption().empty() ? "" : " ") + Label2->Caption());
}
