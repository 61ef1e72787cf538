// A game folder with one file damaged or missing. A file the game plays on without and
// whose absence the player is not told of (event pictures, sounds, the opening and
// ending scripts) is left out without a word; any other missing file, and every file
// that is there but damaged, is named in one message box for the file (with the member
// of a pack at fault), and play goes on without it. The sprite pack, which the shop
// floor cannot do without, ends the program with its message, the transcript written.
// Each case is the generated game folder seen through links, but for the damaged files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Audio.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "shop/Figure.h"
#include "shop/GameState.h"
#include "shop/Savefile.h"
#include "shop/Shop.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/Scratch.h"
#include "tests/support/SpriteFixtures.h"
#include "town/EvControler.h"
#include "town/EvPictures.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"

namespace {

namespace fs = std::filesystem;

// Deleted: the file left out. Zeroed: every byte zero. The member kinds rebuild a pack
// with its named members (comma-separated) deleted, zeroed or cut to half their bytes.
enum class Damage { Deleted, Zeroed, MemberDeleted, MemberZeroed, MemberCut };

std::set<std::string> Names(const std::string& list) {
    std::set<std::string> names;
    std::stringstream in(list);
    for (std::string name; std::getline(in, name, ',');) names.insert(name);
    return names;
}

// The pack at `from` again at `to`, stored as it is but for the damaged members.
void CopyPackWithDamage(const fs::path& from, const fs::path& to, Damage damage,
                        const std::string& members) {
    const std::set<std::string> hit = Names(members);
    TQvPack in, out;
    ASSERT_TRUE(in.OpenPack(from.string()));
    out.SetReadOnly(false);
    ASSERT_TRUE(out.NewPack(to.string().c_str()));
    for (int i = 0; i < in.GetFileNum(); ++i) {
        const std::string m = in.GetFileName(i);
        if (m.empty()) continue;
        if (!hit.contains(m)) {
            ASSERT_TRUE(out.AddPack(m.c_str(), &in, m.c_str())) << m;
            continue;
        }
        if (damage == Damage::MemberDeleted) continue;
        std::unique_ptr<TMemoryStream> s = in.QvMakeStream(m.c_str());
        ASSERT_TRUE(s) << m;
        std::vector<std::uint8_t> bytes = s->Bytes();
        if (damage == Damage::MemberZeroed)
            std::fill(bytes.begin(), bytes.end(), 0);
        else
            bytes.resize(bytes.size() / 2);
        std::FILE* f = std::tmpfile();
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::rewind(f);
        ASSERT_TRUE(out.AddFileFrom(m.c_str(), f, false)) << m;
        std::fclose(f);
    }
    ASSERT_TRUE(out.EndPack());
}

// `dir` shows the game folder: every entry a link, but the folders on the way to the
// `files` made anew, and the files themselves damaged (or left out).
void MirrorWithDamage(const fs::path& game, const fs::path& dir, const std::vector<fs::path>& files,
                      Damage damage, const std::string& members) {
    fs::create_directories(dir);
    for (const fs::directory_entry& e : fs::directory_iterator(game)) {
        const std::string name = e.path().filename().string();
        std::vector<fs::path> inside;
        bool here = false;
        for (const fs::path& file : files) {
            if (file.begin()->string() != name) continue;
            const fs::path rest = file.lexically_relative(name);
            if (rest == ".")
                here = true;
            else
                inside.push_back(rest);
        }
        const fs::path to = dir / name;
        if (!here && inside.empty()) {
            fs::create_symlink(e.path(), to);
        } else if (!here) {
            MirrorWithDamage(e.path(), to, inside, damage, members);
        } else if (damage == Damage::Zeroed) {
            const std::vector<char> zeros(fs::file_size(e.path()));
            std::ofstream(to, std::ios::binary).write(zeros.data(), std::ssize(zeros));
        } else if (damage != Damage::Deleted) {
            CopyPackWithDamage(e.path(), to, damage, members);
        }
    }
}

// What the player does that needs the file.
void BuildShopWindow() {
    auto shop = std::make_unique<TShopForm>();
    shop.reset();
}
// The title's system file is read when the shop window is made; a second window of
// the same run reads it again.
void BuildShopWindowTwice() {
    BuildShopWindow();
    BuildShopWindow();
}
void PlayTheFirstEnding() {
    auto shop = std::make_unique<TShopForm>();
    shop->PlayEnding(1);
}
void PlayTheBell() {
    GameFlow = new TEvControler();
    EventServerDbg->PlaySound(0);
}
// Two faces whose pictures both come from the face pack.
void ShowTwoFaces() {
    GameFlow = new TEvControler();
    DbTxtForm2->SetFace(3);
    DbTxtForm2->SetFace(5);
}
void OpenTownMap() {
    GameFlow = new TEvControler();
    GameFlow->Place = place::ShopFront;
    MapFm->Show();
}
void ShowTheSquare() {
    GameFlow = new TEvControler();
    ui::Bitmap picture;
    EventServerDbg->LoadPicture(picture, EventServerDbg->PlaceGrCode(3, 10));
}

// The name of the square's daytime picture in the town pack.
std::string SquareByDay() { return PictureMemberName(TEventServerDbg::PlaceGrCode(3, 10), false); }

struct Case {
    const char* file;
    Damage damage;
    std::string member;
    void (*play)();
    std::vector<std::string> boxes;
    // An "error" line of the transcript.
    std::string error;
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
    // Plays each case in a mirror of the game folder with its file damaged.
    void PlayCases(const std::string& name, const std::vector<Case>& cases) {
        const fs::path game = ui::DefaultGameFolder();
        int n = 0;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.file) + " " + c.member);
            const fs::path dir = test::ScratchDir(name + "_" + std::to_string(n++));
            MirrorWithDamage(game, dir, {c.file}, c.damage, c.member);
            ui::SetProgramFolder(dir.string());
            boxes_.clear();
            ui::ScopedTranscript transcript;
            c.play();
            EXPECT_EQ(boxes_, c.boxes);
            const std::vector<std::string> errors = transcript->Texts("error");
            EXPECT_NE(std::find(errors.begin(), errors.end(), c.error), errors.end())
                << ::testing::PrintToString(errors);
            delete GameFlow;
            GameFlow = nullptr;
            ui::SetProgramFolder(game.string());
        }
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
    PlayCases("damaged_folder",
              {
                  {"col24b/evpack/bkTown.pak",
                   Damage::Zeroed,
                   "",
                   ShowTheSquare,
                   {"檔案已經損壞\ncol24b\\evpack\\bkTown.pak"},
                   "file damaged: col24b\\evpack\\bkTown.pak"},
                  {"col24b/evpack/bkTown.pak",
                   Damage::MemberZeroed,
                   SquareByDay(),
                   ShowTheSquare,
                   {"檔案已經損壞\ncol24b\\evpack\\bkTown.pak (" + SquareByDay() + ")"},
                   "file damaged: col24b\\evpack\\bkTown.pak (" + SquareByDay() + ")"},
                  {"Data/WpData0.Pak",
                   Damage::Zeroed,
                   "",
                   BuildShopWindow,
                   {"檔案已經損壞\nData\\WpData0.Pak"},
                   "file damaged: Data\\WpData0.Pak"},
                  {"Data/WpData0.Pak",
                   Damage::MemberZeroed,
                   "TitleBar.bmp",
                   BuildShopWindow,
                   {"檔案已經損壞\nData\\WpData0.Pak (TitleBar.bmp)"},
                   "file damaged: Data\\WpData0.Pak (TitleBar.bmp)"},
                  {"col24b/palFace/palFace.pak",
                   Damage::Zeroed,
                   "",
                   BuildShopWindow,
                   {"檔案已經損壞\ncol24b\\palFace\\palFace.pak"},
                   "file damaged: col24b\\palFace\\palFace.pak"},
                  // Two of its members damaged: one box for the file.
                  {"col24b/palFace/palFace.pak",
                   Damage::MemberZeroed,
                   "par03.bmp,par05.bmp",
                   ShowTwoFaces,
                   {"檔案已經損壞\ncol24b\\palFace\\palFace.pak (par03.bmp)"},
                   "file damaged: col24b\\palFace\\palFace.pak (par03.bmp)"},
                  {"Data/MsgWin.pak",
                   Damage::Zeroed,
                   "",
                   BuildShopWindow,
                   {"檔案已經損壞\nData\\MsgWin.pak"},
                   "file damaged: Data\\MsgWin.pak"},
                  {"col24b/mapPack/mapPack.pak",
                   Damage::MemberZeroed,
                   "town.plf",
                   OpenTownMap,
                   {"檔案已經損壞\ncol24b\\mapPack\\mapPack.pak (town.plf)"},
                   "file damaged: col24b\\mapPack\\mapPack.pak (town.plf)"},
                  {"col24b/mapPack/mapPack.pak",
                   Damage::Deleted,
                   "",
                   OpenTownMap,
                   {"沒有檔案\ncol24b\\mapPack\\mapPack.pak"},
                   "file missing: col24b\\mapPack\\mapPack.pak"},
                  // A sound pack or opening and ending pack that is there but does not
                  // open is damaged, not missing.
                  {"wave/se/sepack.pak",
                   Damage::Zeroed,
                   "",
                   PlayTheBell,
                   {"檔案已經損壞\nwave\\se\\sepack.pak"},
                   "file damaged: wave\\se\\sepack.pak"},
                  {"OpEd.Pak",
                   Damage::Zeroed,
                   "",
                   PlayTheFirstEnding,
                   {"檔案已經損壞\nOpEd.Pak"},
                   "file damaged: OpEd.Pak"},
              });
}

// Pictures, sounds and the opening and ending scripts that are not there: the scene goes
// on without them and the player is not told; only the transcript (and the error
// stream) says which file was wanted.
TEST_F(DamagedFolderTest, AMissingPictureSoundOrScriptIsNotTold) {
    PlayCases(
        "missing_untold",
        {
            {"col24b/evpack/bkTown.pak",
             Damage::Deleted,
             "",
             ShowTheSquare,
             {},
             "file missing: col24b\\evpack\\bkTown.pak"},
            {"col24b/evpack/bkTown.pak",
             Damage::MemberDeleted,
             SquareByDay(),
             ShowTheSquare,
             {},
             "file missing: col24b\\evpack\\bkTown.pak (" + SquareByDay() + ")"},
            {"wave/se/sepack.pak",
             Damage::Deleted,
             "",
             PlayTheBell,
             {},
             "file missing: wave\\se\\sepack.pak"},
            {"wave/se/sepack.pak",
             Damage::MemberDeleted,
             "seBell.wav",
             PlayTheBell,
             {},
             "file missing: wave\\se\\sepack.pak (seBell.wav)"},
            {"OpEd.Pak", Damage::Deleted, "", PlayTheFirstEnding, {}, "file missing: OpEd.Pak"},
            {"OpEd.Pak",
             Damage::MemberDeleted,
             "Ed1.scr",
             PlayTheFirstEnding,
             {},
             "file missing: OpEd.Pak (Ed1.scr)"},
        });
}

// The art folder is the one whose event pack opens, the 24-bit one first; a pack that
// opens but is damaged keeps its folder and is told when a picture of it is wanted.
TEST_F(DamagedFolderTest, TheArtFolderIsTheOneWhoseEventPackOpens) {
    const struct {
        std::vector<fs::path> files;
        Damage damage;
        std::string art;
        std::vector<std::string> boxes;
    } cases[] = {
        {{"col24b/evpack/evGraph.pak"}, Damage::Deleted, "\\col8b", {}},
        {{"col24b/evpack/evGraph.pak"},
         Damage::Zeroed,
         "\\col24b",
         {"檔案已經損壞\ncol24b\\evpack\\evGraph.pak"}},
        {{"col24b/evpack/evGraph.pak", "col8b/evpack/evGraph.pak"},
         Damage::Deleted,
         "",
         {"遊戲目錄的路徑不正確，請結束遊戲。"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.art);
        const fs::path dir = test::ScratchDir("damaged_folder_art_" + std::to_string(n++));
        MirrorWithDamage(ui::DefaultGameFolder(), dir, c.files, c.damage, "");
        ui::SetProgramFolder(dir.string());
        boxes_.clear();
        GameFlow = new TEvControler();
        EXPECT_EQ(EventServerDbg->m_ArtFolder, c.art);
        ui::Bitmap picture;
        EXPECT_EQ(EventServerDbg->LoadPicture(picture, PictureCode(kEventKind, 1)),
                  c.boxes.empty());
        EXPECT_EQ(boxes_, c.boxes);
        delete GameFlow;
        GameFlow = nullptr;
    }
}

// A system file that is there but does not load is told once, like any damaged file:
// the album and the endings seen start empty, and the file is left as it is (a repair
// may still read it) until a save writes the record this run holds.
TEST_F(DamagedFolderTest, ADamagedSystemFileIsToldOnceAndKeptUntilASave) {
    std::mt19937 random(57);
    std::string noise(200, '\0');
    for (char& b : noise) b = static_cast<char>(random());
    const struct {
        const char* what;
        std::optional<std::string> bytes;  // none: a folder
    } cases[] = {
        {"empty", std::string()},
        {"cut", std::string(60, '\x01')},
        {"noise", noise},
        {"folder", std::nullopt},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path dir = test::ScratchDir("damaged_system_" + std::to_string(n++));
        MirrorWithDamage(ui::DefaultGameFolder(), dir, {}, Damage::Deleted, "");
        const fs::path file = dir / kSystemFileName;
        if (c.bytes)
            std::ofstream(file, std::ios::binary).write(c.bytes->data(), std::ssize(*c.bytes));
        else
            fs::create_directory(file);
        ui::SetProgramFolder(dir.string());
        boxes_.clear();
        BuildShopWindowTwice();
        EXPECT_EQ(boxes_, std::vector<std::string>{"檔案已經損壞\nQDV0.QDV"});
        if (!c.bytes) {
            EXPECT_TRUE(fs::is_directory(file));
            EXPECT_FALSE(SaveSystemFile());
        } else {
            std::ifstream in(file, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), *c.bytes);
            // What this run saw is saved whole.
            EventServerDbg->SetFlg(40, true);
            ASSERT_TRUE(SaveSystemFile());
            ASSERT_EQ(fs::file_size(file), kSystemFileSize);
            EventServerDbg->SetFlg(40, false);
            EXPECT_TRUE(LoadSystemFile());
            EXPECT_TRUE(EventServerDbg->TestFlg(40));
        }
        delete GameFlow;
        GameFlow = nullptr;
    }
}

// The shop floor's sprite pack: a member that is there but cannot be read is named with
// its pack, as any damaged member is.
TEST_F(DamagedFolderTest, ADamagedSpriteSheetNamesItsPack) {
    const fs::path dir = test::ScratchDir("damaged_sprites");
    MirrorWithDamage(ui::DefaultGameFolder(), dir, {"Data/SPMan.Pak"}, Damage::MemberCut,
                     "Back.wbm");
    ui::SetProgramFolder(dir.string());
    test::SpriteEngineReset reset;
    test::FatalCatcher fatal;
    TQvPack pack;
    EXPECT_FALSE(InitSpriteEngine(&pack));
    EXPECT_EQ(fatal.Messages, std::vector<std::string>{"檔案已經損壞\nData\\SPMan.Pak (Back.wbm)"});
}

// A fatal message ends the program; the transcript asked for is written first, with
// the message in it.
TEST_F(DamagedFolderTest, AFatalEndStillWritesTheTranscript) {
    const fs::path lumia = fs::path(LUMIA_BINARY_DIR) / "lumia";
    ASSERT_TRUE(fs::exists(lumia)) << "build the lumia target first";
    const fs::path dir = test::ScratchDir("damaged_fatal");
    const fs::path game = dir / "game";
    MirrorWithDamage(ui::DefaultGameFolder(), game, {"Data/SPMan.Pak"}, Damage::MemberCut,
                     "Back.wbm");
    // The title's new game: the logo movie and the opening clicked away, then 新的遊戲.
    std::ofstream(dir / "start.txt")
        << "@100 click 320 200\n@200 click 320 200\n"
           "@500 click 320 200\n+300 click 321 392\n+3000 key Return\n";
    const fs::path transcript = dir / "transcript.txt";
    const std::string cmd = "'" + lumia.string() + "' --headless --game '" + game.string() +
                            "' --input '" + (dir / "start.txt").string() + "' --transcript '" +
                            transcript.string() + "' > '" + (dir / "out.txt").string() + "' 2>&1";
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::ifstream in(transcript);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(text.find("box 緹菈: 檔案已經損壞\nData\\SPMan.Pak (Back.wbm)"), std::string::npos)
        << text.substr(text.size() > 2000 ? text.size() - 2000 : 0);
}

}  // namespace
