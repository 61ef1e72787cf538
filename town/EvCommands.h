#pragma once

// The commands of the command menu (CommandId: also the row of the command's picture
// in the message window's button sheet) and the five place visits.
namespace command {
constexpr int kLook = 0;
constexpr int kTalk = 1;
constexpr int kPeddle = 2;
constexpr int kSearch = 3;
constexpr int kMarket = 4;
constexpr int kMove = 5;
constexpr int kMap = 6;
constexpr int kEnter = 7;
constexpr int kCancel = 8;
constexpr int kFlowerbed = 9;
constexpr int kVisitHouse = 10;
constexpr int kVisitShop = 11;
constexpr int kGoOut = 12;
constexpr int kLibrary = 13;
constexpr int kRead = 14;
constexpr int kDelivery = 15;
constexpr int kToCastleGate = 16;
constexpr int kToSquare = 17;
}  // namespace command

// The visits; `hour` is the current game hour.
void VisitFlowerbed(int hour);
void VisitFlowerHouse(int hour);
void VisitRivalShop(int hour);
void VisitPalace(int hour);
void VisitWizardHouse(int hour);
