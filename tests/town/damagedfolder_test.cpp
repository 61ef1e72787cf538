// A game folder with one file damaged or missing: the player is told, in one message
// box, which file it is (and which member of a pack), and play goes on without it.
// Each case is the generated game folder seen through links, but for the one file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Audio.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessAudio.h"
#include "shop/GameState.h"
#include "shop/Shop.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/Scratch.h"
#include "town/EvControler.h"
#include "town/EvPictures.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"

namespace {

namespace fs = std::filesystem;

enum class Damage { Deleted, Zeroed, MemberZeroed };

// `dir` shows the game folder: every entry a link, but the folders on the way to `file`
// made anew, and `file` itself damaged (or left out).
void MirrorWithDamage(const fs::path& game, const fs::path& dir, const fs::path& file,
                      Damage damage, const std::string& member) {
    fs::create_directories(dir);
    const std::string head = file.begin()->string();
    for (const fs::directory_entry& e : fs::directory_iterator(game)) {
        const std::string name = e.path().filename().string();
        if (name != head) {
            fs::create_symlink(e.path(), dir / name);
            continue;
        }
        const fs::path rest = file.lexically_relative(head);
        if (rest != ".") {
            MirrorWithDamage(e.path(), dir / name, rest, damage, member);
            continue;
        }
        const fs::path to = dir / name;
        if (damage == Damage::Zeroed) {
            const std::vector<char> zeros(fs::file_size(e.path()));
            std::ofstream(to, std::ios::binary).write(zeros.data(), std::ssize(zeros));
        } else if (damage == Damage::MemberZeroed) {
            // The pack again, with the member's bytes all zero (stored as they are).
            TQvPack from, into;
            ASSERT_TRUE(from.OpenPack(e.path().string()));
            into.SetReadOnly(false);
            ASSERT_TRUE(into.NewPack(to.string().c_str()));
            for (int i = 0; i < from.GetFileNum(); ++i) {
                const std::string m = from.GetFileName(i);
                if (m.empty()) continue;
                if (m != member) {
                    ASSERT_TRUE(into.AddPack(m.c_str(), &from, m.c_str())) << m;
                    continue;
                }
                std::unique_ptr<TMemoryStream> s = from.QvMakeStream(m.c_str());
                ASSERT_TRUE(s) << m;
                std::FILE* zeros = std::tmpfile();
                ASSERT_NE(zeros, nullptr);
                const std::vector<char> bytes(static_cast<std::size_t>(s->Size()));
                std::fwrite(bytes.data(), 1, bytes.size(), zeros);
                std::rewind(zeros);
                ASSERT_TRUE(into.AddFileFrom(m.c_str(), zeros, false)) << m;
                std::fclose(zeros);
            }
            ASSERT_TRUE(into.EndPack());
        }
    }
}

// What the player does that needs the file.
void BuildShopWindow() {
    auto shop = std::make_unique<TShopForm>();
    shop.reset();
}
void OpenTownMap() {
    GameFlow = new TEvControler();
    GameFlow->Place = 0;
    MapFm->Show();
}
void ShowTheSquare() {
    GameFlow = new TEvControler();
    ui::Bitmap picture;
    EventServerDbg->LoadPicture(picture, EventServerDbg->PlaceGrCode(3, 10));
}

struct Case {
    const char* file;
    Damage damage;
    const char* member;
    void (*play)();
    std::vector<std::string> boxes;
};

class DamagedFolderTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        ui::SetAudio(std::make_unique<ui::RecordingAudio>());
        headless.Backend().SetMessageBoxResponder([this](const ui::MessageBoxRequest& r) {
            boxes_.push_back(ui::Big5ToUtf8(r.text));
            return ui::IDOK;
        });
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
        ui::SetAudio(nullptr);
        ui::SetProgramFolder(ui::DefaultGameFolder());
    }
    std::vector<std::string> boxes_;
};

TEST_F(DamagedFolderTest, TheFileAtFaultIsNamedOnce) {
    const Case cases[] = {
        {"col24b/evpack/bkTown.pak",
         Damage::Zeroed,
         "",
         ShowTheSquare,
         {"檔案已經損壞\ncol24b\\evpack\\bkTown.pak"}},
        {"Data/WpData0.Pak",
         Damage::Zeroed,
         "",
         BuildShopWindow,
         {"檔案已經損壞\nData\\WpData0.Pak"}},
        {"Data/WpData0.Pak",
         Damage::MemberZeroed,
         "TitleBar.bmp",
         BuildShopWindow,
         {"檔案已經損壞\nData\\WpData0.Pak (TitleBar.bmp)"}},
        {"col24b/palFace/palFace.pak",
         Damage::Zeroed,
         "",
         BuildShopWindow,
         {"檔案已經損壞\ncol24b\\palFace\\palFace.pak"}},
        {"Data/MsgWin.pak",
         Damage::Zeroed,
         "",
         BuildShopWindow,
         {"檔案已經損壞\nData\\MsgWin.pak"}},
        {"col24b/evpack/evGraph.pak",
         Damage::Deleted,
         "",
         BuildShopWindow,
         {"沒有檔案\ncol24b\\evpack\\evGraph.pak"}},
        {"col24b/mapPack/mapPack.pak",
         Damage::MemberZeroed,
         "town.plf",
         OpenTownMap,
         {"檔案已經損壞\ncol24b\\mapPack\\mapPack.pak (town.plf)"}},
        {"col24b/mapPack/mapPack.pak",
         Damage::Deleted,
         "",
         OpenTownMap,
         {"沒有檔案\ncol24b\\mapPack\\mapPack.pak"}},
    };
    const fs::path game = ui::DefaultGameFolder();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.member);
        const fs::path dir = test::ScratchDir("damaged_folder_" + std::to_string(n++));
        MirrorWithDamage(game, dir, c.file, c.damage, c.member);
        ui::SetProgramFolder(dir.string());
        boxes_.clear();
        c.play();
        EXPECT_EQ(boxes_, c.boxes);
        delete GameFlow;
        GameFlow = nullptr;
        ui::SetProgramFolder(game.string());
    }
}

// A 24-bit folder that lost its event pack stays the art folder: its faces and the
// message about its pack are the player's, not the 8-bit folder's.
TEST_F(DamagedFolderTest, ALostEventPackKeepsTheArtFolder) {
    const fs::path dir = test::ScratchDir("damaged_folder_art");
    MirrorWithDamage(ui::DefaultGameFolder(), dir, "col24b/evpack/evGraph.pak", Damage::Deleted,
                     "");
    ui::SetProgramFolder(dir.string());
    GameFlow = new TEvControler();
    EXPECT_EQ(EventServerDbg->m_ArtFolder, "\\col24b");
    ui::Bitmap picture;
    EXPECT_FALSE(EventServerDbg->LoadPicture(picture, PictureCode(kEventKind, 1)));
    EXPECT_EQ(boxes_, (std::vector<std::string>{"沒有檔案\ncol24b\\evpack\\evGraph.pak"}));
}

}  // namespace
