#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Save slots and the system file. A slot file "QDV1.QDV".."QDV6.QDV" (slots 0..5)
// is the raw image of one game: the game state, the 64 demand records, the event
// server's block and a zero tail. The system file "QDV0.QDV" keeps what outlives a
// game: the items ever unlocked and the event pictures ever seen. Both live in the
// save folder (ui::SaveFolder: the game folder, or the user's data folder for the
// generated one), without header, version or checksum.

constexpr int kSaveSlotCount = 6;

constexpr std::size_t kGameStateImageSize = 156308;
constexpr std::size_t kFashionRecordBytes = 441;
constexpr int kFashionRecordCount = 64;
constexpr std::size_t kSlotFashionOffset = 156308;
constexpr std::size_t kSlotEventOffset = 184532;
constexpr std::size_t kSlotEventSize = 1048;
constexpr std::size_t kSlotTailOffset = 185580;
constexpr std::size_t kSlotTailSize = 256;
constexpr std::size_t kSlotFileSize = 185836;

constexpr std::size_t kEverUnlockedBytes = 107;
constexpr std::size_t kPersistentFlagBytes = 8;
constexpr std::size_t kSystemFileSize = 115;

constexpr char kSystemFileName[] = "QDV0.QDV";

// "QDV<slot + 1>.QDV"; empty for a slot outside 0..5.
std::string SlotFileName(int slot);

// Saves the running game into a slot. The file is replaced whole or not at all.
[[nodiscard]] bool SaveGame(int slot);
// Loads a slot. The whole file is read and checked first; on any failure the
// running game is left as it was.
[[nodiscard]] bool LoadGame(int slot);
// Adds this game's unlocked items to the ever-unlocked set, then writes the set
// and the persistent event flags.
[[nodiscard]] bool SaveSystemFile();
// Merges the system file into memory: items ever unlocked and pictures seen are
// only ever set, never cleared.
[[nodiscard]] bool LoadSystemFile();
// LoadSystemFile at start-up. A system file that is there but does not load (cut short,
// too long, a folder, unreadable) is told once a run, as any damaged file of the game
// folder, and left as it is until the next save replaces it; a missing one (there is
// none before the first save) is no news.
void LoadSystemFileAtStart();
// Whether a file of the save folder is there (a folder standing in its place counts).
[[nodiscard]] bool SaveFileThere(const char* fileName);
// Day and money of a slot whose file is whole and loadable; false otherwise.
[[nodiscard]] bool PeekSaveSlot(int slot, std::int32_t& day, std::int32_t& money);

// What a slot holds: nothing, a game that loads, or a file that does not load (kept:
// a repair may still read it; saving over it asks first, as over any game).
enum class SlotState { kEmpty, kSaved, kDamaged };

// The slot list's two labels for slot k (Big5): "k： M月D日" and the money with "Ｇ"
// for a loadable slot, "k：   無法讀取" and "" for a damaged one, "k：   未使用" and ""
// for an empty one.
SlotState SaveSlotLabels(int slot, std::string& dayText, std::string& moneyText);

// Removes the temporary files a save cut short left in the program's folder
// (".QDVn.QDV.XXXXXX", written before the rename over the slot or system file).
void RemoveSaveLeftovers();

// One block to or from a file of the program's folder. The write goes through a
// temporary file in the same folder and is renamed over the old file only once it
// is complete. The read succeeds only when the file holds exactly `size` bytes.
[[nodiscard]] bool WriteRawFile(const void* buffer, std::size_t size, const char* fileName);
[[nodiscard]] bool ReadRawFile(void* buffer, std::size_t size, const char* fileName);
// The same for a file of the save folder (the user's data folder for the generated
// game folder, else the program's folder); the write makes the folder first.
[[nodiscard]] bool WriteSaveFile(const void* buffer, std::size_t size, const std::string& name);
[[nodiscard]] bool ReadSaveFile(void* buffer, std::size_t size, const std::string& name);

// Images in memory, for the file layer above and for checking loaders without files.
// BuildSlotImage fills kSlotFileSize bytes from the running game.
void BuildSlotImage(std::uint8_t* image);
// True when every value of the image is one the game can hold.
[[nodiscard]] bool CheckSlotImage(const std::uint8_t* image, std::size_t size);
// CheckSlotImage, then the running game takes the image.
[[nodiscard]] bool ApplySlotImage(const std::uint8_t* image, std::size_t size);
// kSystemFileSize bytes: the ever-unlocked set (after merging this game's items) and
// the persistent flags.
void BuildSystemImage(std::uint8_t* image);
[[nodiscard]] bool ApplySystemImage(const std::uint8_t* image, std::size_t size);

// Test seam: called once the temporary file holds the whole block, before it is
// renamed over the old one; returning false abandons the write there, as a crash
// at that point would. Null (the default) lets every write through.
using SaveRenameHook = bool (*)();
void SetSaveRenameHook(SaveRenameHook hook);
