#pragma once
#include <array>
#include <string>

// Picture codes of the event stage: (kind << 8) | index. Kind 0 are the character
// figures (poses), 1 the town backgrounds, 2 the land backgrounds, 3 the event
// pictures; each kind's pack (GrPackNames) holds the members its name table names.

constexpr int kPictureKinds = 4;
constexpr int kFaceGrCount = 58;
constexpr int kTownBgCount = 88;
constexpr int kLandBgCount = 52;
constexpr int kEvGrCount = 63;
// Event picture k is seen = flag 32 + k, for k = 0..55 (56.. would alias the endings).
constexpr int kSeenPictureCount = 56;
// The event picture that stands for the message window's frame (SetMsgWinPicture).
constexpr int kMsgWinPicture = 62;

constexpr int kFigureKind = 0;
constexpr int kTownKind = 1;
constexpr int kLandKind = 2;
constexpr int kEventKind = 3;

constexpr int PictureCode(int kind, int index) { return (kind << 8) | index; }

extern const std::array<const char*, kPictureKinds> GrPackNames;
extern const std::array<std::string, kFaceGrCount> FaceGrNames;
extern const std::array<std::string, kTownBgCount> TownBgNames;
extern const std::array<std::string, kLandBgCount> LandBgNames;
// Entry 62 is replaced by SetMsgWinPicture.
extern std::array<std::string, kEvGrCount> EvGrNames;

// The 16 ascending group starts of the figure numbers, ended by -1.
extern const std::array<int, 16> FigureGroup;
// Which character a pose belongs to: the count of leading group starts <= n.
int FigureGroupOf(int n);

// Whose figure a pose is ("" for the transparent one), and the caption name of a
// town place (0..21) or a land place (32..44), in UTF-8.
const char* FigureCharacter(int pose);
const char* TownPlaceCaption(int place);
const char* LandPlaceCaption(int place);
// The caption the picture catalogue shows before a picture, in UTF-8, or empty where
// it shows none: a pose's label ("普通"), a background's place and hour
// ("中央噴水廣場（夕）"), an ending picture's label.
std::string PictureCaption(int code);

// The member name a picture code names (the land index already moved to its fourth
// variant when `landLate`), or empty: a negative code, an unknown kind, an index past
// its table, or an empty entry.
std::string PictureMemberName(int code, bool landLate);
