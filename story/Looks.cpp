// The look command's events: the heroine's remarks on the places, the commissions and
// dated notices of the square's notice board, the fashion remark that closes the
// table, and the developer's picture catalogue. Their lines are in story/text/Looks.txt.
#include "story/Looks.h"

#include <array>
#include <cstring>
#include <string>

#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "shop/Fashion.h"
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/EvPictures.h"
#include "town/Evsrvfm.h"

using story::RunEvent;

namespace {

// A remark of the look command: at `place`, nothing more.
bool PlaceRemark(const char* name, int place) {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place)) return false;
    return RunEvent(name);
}

// A dated notice of the board: its day window, the square, its seen flag clear.
bool Notice(const char* name, int first, int length, int seenFlag) {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(first, length)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    if (!ev->ChkFlg(seenFlag, false)) return false;
    return RunEvent(name);
}

}  // namespace

bool EvLook000() { return PlaceRemark("EvLook000", 2); }
bool EvLook001() { return PlaceRemark("EvLook001", 6); }
bool EvLook002() { return PlaceRemark("EvLook002", 4); }

bool EvLook003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::FloraeHouse)) return false;
    if (!ev->ChkFlg(flag::FloraeDied, false)) return false;
    return RunEvent("EvLook003");
}

bool EvLook004() { return PlaceRemark("EvLook004", 0); }

// The castle gate by day; slot 6 answers at the other hours.
bool EvLook005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGate)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    return RunEvent("EvLook005");
}

bool EvLook006() { return PlaceRemark("EvLook006", 9); }

bool EvLook007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::Library)) return false;
    if (!ev->ChkFlg(flag::LibraryRemarkSeen, false)) return false;
    return RunEvent("EvLook007");
}

bool EvLook008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::Library)) return false;
    if (!ev->ChkFlg(flag::LibraryRemarkSeen, true)) return false;
    return RunEvent("EvLook008");
}

bool EvLook009() { return PlaceRemark("EvLook009", 5); }
// Also in slot 11, where it never plays: slot 10 has answered before.
bool EvLook010() { return PlaceRemark("EvLook010", 7); }

// The volcano commission, for the 12 days from the tremor.
bool EvLook012() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::VolcanoNotice, 0, 12)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    if (!ev->ChkFlg(flag::VolcanoCommission, false)) return false;
    return RunEvent("EvLook012");
}

// The potion commission. The board's order test comes first: with four orders held
// it says so and fails, and the look goes on to the later slots.
bool EvLook013() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->OrderFullTalk(96, 24)) return false;
    if (!ev->ChkFlg(flag::HotSpringFound, true)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommission, false)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommissionDone, false)) return false;
    return RunEvent("EvLook013");
}

bool EvLook014() { return Notice("EvLook014", 24, 24, flag::NoticeHomepage); }
bool EvLook015() { return Notice("EvLook015", 48, 48, flag::NoticeShyWriter); }

// The confession follows the request only.
bool EvLook016() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(60, 24)) return false;
    if (!ev->ChkFlg(flag::NoticeShyWriter, true)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    if (!ev->ChkFlg(flag::NoticeConfession, false)) return false;
    return RunEvent("EvLook016");
}

// The place test before the day window, unlike the other notices.
bool EvLook017() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    if (!ev->ChkDay(77, 24)) return false;
    if (!ev->ChkFlg(flag::NoticeComplaint, false)) return false;
    return RunEvent("EvLook017");
}

bool EvLook018() { return Notice("EvLook018", 132, 24, flag::NoticeSmallAds); }
bool EvLook019() { return Notice("EvLook019", 180, 24, flag::NoticeFan); }

// The picture catalogue: flag 0 is never set, so it plays only under the condition
// override, from the event debug window.
bool EvLook020() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::NeverSet, true)) return false;
    return RunEvent("EvLook020");
}

bool EvLook021() { return Notice("EvLook021", 0, 24, flag::NoticeBoardIntro); }
bool EvLook022() { return Notice("EvLook022", 30, 17, flag::NoticeSpringFestival); }
bool EvLook023() { return Notice("EvLook023", 108, 16, flag::NoticeMagicContest); }
bool EvLook024() { return Notice("EvLook024", 162, 16, flag::NoticeBeautyContest); }
bool EvLook025() { return Notice("EvLook025", 204, 200, flag::NoticeBakery); }

bool EvLook026() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeDied, true)) return false;
    if (!ev->ChkPlace(place::FloraeHouse)) return false;
    if (!ev->ChkFlg(flag::EmptyRoomFound, false)) return false;
    return RunEvent("EvLook026");
}

bool EvLook027() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::FloraeHouse)) return false;
    if (!ev->ChkFlg(flag::EmptyRoomFound, true)) return false;
    return RunEvent("EvLook027");
}

// The square's fallback: what is in fashion now.
bool EvLook028() { return PlaceRemark("EvLook028", 3); }

namespace story {

// The fashion remark's line for the goods ranked first, second and third (-1 where
// none): the template for the count of ranked goods, naming each of them. Only the
// leading valid ids count, so a name is never looked up for -1.
std::string FashionRemarkLine(int first, int second, int third) {
    static const std::array<std::string, 4> templates = {
        ui::Utf8ToBig5("緹菈「嗯～…沒什麼特別的消息啊…可惜。"),
        ui::Utf8ToBig5("緹菈「現在最流行的是\n『%s』噢。"),
        ui::Utf8ToBig5("緹菈「最近流行『%s』和\n『%s』呢。"),
        ui::Utf8ToBig5("緹菈「『%s』和\n『%s』還有\n『%s』，是現在的流行噢。"),
    };
    const int ids[3] = {first, second, third};
    int count = 0;
    while (count < 3 && ids[count] >= 0 && ids[count] < 64) ++count;
    std::string out = templates[count];
    for (int i = 0; i < count; ++i) {
        const char* name = ItemName(ids[i]);
        const std::size_t at = out.find("%s");
        out.replace(at, 2, std::string(name, strnlen(name, 21)));
    }
    return out;
}

}  // namespace story

void FashionRemark() {
    int first = -1, second = -1, third = -1;
    TopFashionTrends(first, second, third);
    if (EventServerDbg) EventServerDbg->DspMsg(story::FashionRemarkLine(first, second, third));
}

// Every picture with its caption (the first 32 event pictures without): the event
// pictures, the town's places (the castle gate before the school) and the upstairs
// rooms, the land's places in their four variants, then the figure poses.
void PictureCatalogue() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return;
    const auto captioned = [ev](int code) {
        ev->DspMsg(ui::Utf8ToBig5(PictureCaption(code)));
        ev->DspGr(code);
    };
    for (int i = 0; i < 32; ++i) ev->DspGr(PictureCode(kEventKind, i));
    for (int i = 32; i < 50; ++i) captioned(PictureCode(kEventKind, i));
    for (int p :
         {place::ShopFront, place::FloraeHouse, place::RivalShop, place::Square, place::Bakery,
          place::Park, place::EventGround, place::CastleGate, place::School, place::ShopInside,
          place::MixingRoom, place::FloraeRoom, place::RivalShopInside, place::CastleGarden,
          place::Ballroom, place::Balcony, place::Library, place::TownAfterEarthquake})
        for (int v = 0; v < 3; ++v) captioned(PictureCode(kTownKind, p * 4 + v));
    for (int v = 0; v < 3; ++v) captioned(PictureCode(kTownKind, place::HomeRooms * 4 + v));
    for (int p = place::Forest; p <= place::WizardHouseInside; ++p)
        for (int v = 0; v < 4; ++v)
            captioned(PictureCode(kLandKind, (p - place::LandTown) * 4 + v));
    for (int pose = 0; pose < kFaceGrCount; ++pose) {
        ev->DspMsg(ui::Utf8ToBig5(PictureCaption(PictureCode(kFigureKind, pose))));
        ev->ShowFigure(pose, 1);
    }
}
