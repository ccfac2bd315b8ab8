// The startup dialog's logic without a display: what its showing lists and reads, what
// start and the replay list do to the game window, the manual button, and the keyboard and
// mouse as its window reports them.
#include <gtest/gtest.h>

#include <unistd.h>

#include "frontend_fixture.h"

using frontend::TControlId;
using frontend::TForm2;
using plat::FormInput;
using plat::FormKey;
using namespace fetest;

namespace {

FormInput Key(FormKey key, bool shift = false) {
    FormInput in{FormInput::Type::Key};
    in.key = key;
    in.shift = shift;
    return in;
}
FormInput Click(TControlId id) { return {FormInput::Type::Click, static_cast<int>(id)}; }
FormInput Choose(TControlId id, int item) {
    FormInput in{FormInput::Type::Choose, static_cast<int>(id)};
    in.item = item;
    return in;
}

class DialogTest : public FrontendTest {
protected:
    std::unique_ptr<TForm2> dialog;
    void SetUp() override {
        FrontendTest::SetUp();
        dialog = std::make_unique<TForm2>(platform, *game);
    }
    void TearDown() override {
        dialog.reset();
        FrontendTest::TearDown();
    }
    bool GameStarted() const { return game->Sprite.SystemState() != engine::TSystemState::ssPlain; }
};

}  // namespace

TEST_F(DialogTest, ShowingListsTheProgramFoldersReplaysAndNotTheCurrentFolders) {
    dialog->FormShow();
    EXPECT_FALSE(dialog->Label1.Enabled);   // no replays: label and list disabled
    EXPECT_FALSE(dialog->ReplayList.Enabled);
    EXPECT_TRUE(dialog->ReplayList.Items.empty());

    WriteReplay(dir / "LastGame.KRREP", 1200, {16, 16});
    WriteReplay(dir / "HighScore.KRREP", 123450, {1, 2, 3});
    WriteText(dir / "broken.krrep", "abc");                      // too short for a score
    WriteReplay(dir / "Cut.KRREP", 77, {1, 2}, "");
    {
        std::string cut = ReadText(dir / "Cut.KRREP");
        WriteText(dir / "Cut.KRREP", cut.substr(0, cut.size() - 1));   // fewer bytes than recorded
    }
    fs::create_directory(dir / "Folder.KRREP");
    WriteText(dir / "notes.txt", "not a replay");
    // Started from somewhere else (a desktop menu starts in the home folder).
    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directory(elsewhere);
    WriteReplay(elsewhere / "Stray.KRREP", 5, {});
    const fs::path before = fs::current_path();
    fs::current_path(elsewhere);
    dialog->FormShow();
    fs::current_path(before);

    EXPECT_TRUE(dialog->Label1.Enabled);
    EXPECT_TRUE(dialog->ReplayList.Enabled);
    EXPECT_EQ(dialog->ReplayList.Items, (std::vector<std::string>{"unreadable   [broken]", "unreadable   [Cut]",
                                                                  "  123450pts. [HighScore]", "    1200pts. [LastGame]"}));
    ASSERT_EQ(dialog->ReplayFileList.size(), 4u);
    EXPECT_FALSE(dialog->ReplayFileList[0].Startable);
    EXPECT_FALSE(dialog->ReplayFileList[1].Startable);
    EXPECT_NE(dialog->ReplayFileList[1].Error.find("1 of its 2"), std::string::npos) << dialog->ReplayFileList[1].Error;
    EXPECT_TRUE(dialog->ReplayFileList[2].Startable);
    EXPECT_TRUE(platform.boxes.empty());   // listing an unreadable file is not an error
}

TEST_F(DialogTest, ShowingReadsTheSettingsIntoTheBoxesAndStartsFromTheBeginning) {
    WriteText(IniPath(), "[Options]\nFullScreen=0\nUseVram=0\nReverseSound=1\nEnableBGM=0\nEnableSE=1\nStartFrom=4\n");
    dialog->FormShow();
    EXPECT_FALSE(dialog->cbFullScreen.Checked);
    EXPECT_FALSE(dialog->cbVRAM.Checked);
    EXPECT_TRUE(dialog->cbReverseSound.Checked);
    EXPECT_FALSE(dialog->cbBGM.Checked);
    EXPECT_TRUE(dialog->cbSE.Checked);
    EXPECT_EQ(tz::StartFrom, 0);   // the stored start point is read but not kept
    EXPECT_EQ(dialog->cbStartFrom.ItemIndex, 0);
    EXPECT_EQ(dialog->cbStartFrom.Items.size(), 6u);
    EXPECT_EQ(dialog->cbStartFrom.Items[2], "２面から");
    EXPECT_EQ(dialog->Caption, "起動オプション");
}

TEST_F(DialogTest, ABadCommandLineReplayIsReportedAndTheDialogOpensWithItsSettings) {
    WriteText(IniPath(), "[Options]\nEnableBGM=0\n[Records]\nHighscore=900\n");
    WriteText(dir / "bad.KRREP", std::string("\x01\0\0\0\0\0\0\0\x31\x75\0\0", 12));   // length 30001
    dialog->CommandLineReplay = (dir / "bad.KRREP").string();
    ASSERT_TRUE(dialog->Show());
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].kind, plat::BoxKind::Notice);
    EXPECT_NE(platform.boxes[0].text.find("bad length"), std::string::npos) << platform.boxes[0].text;
    EXPECT_NE(platform.boxes[0].text.find("bad.KRREP"), std::string::npos);
    EXPECT_FALSE(tz::ReplayMode);
    EXPECT_TRUE(dialog->Visible());
    EXPECT_FALSE(dialog->cbBGM.Checked);   // the settings were read all the same
    EXPECT_EQ(tz::HiScore, 900);

    // A good one is loaded and plays once start is pressed.
    WriteReplay(dir / "good.KRREP", 10, {16, 0, 16});
    TForm2 other(platform, *game);
    other.CommandLineReplay = (dir / "good.KRREP").string();
    other.FormShow();
    EXPECT_TRUE(tz::ReplayMode);
    EXPECT_EQ(tz::ReplayLength, 3);
}

TEST_F(DialogTest, StartCopiesTheBoxesAndSetsUpTheEngineBeforeItStarts) {
    dialog->FormShow();
    bool hidden = false;
    dialog->cbVRAM.Checked = false;
    dialog->cbFullScreen.Checked = false;
    dialog->cbReverseSound.Checked = true;
    dialog->cbBGM.Checked = false;
    dialog->cbStartFrom.ItemIndex = 3;
    auto window = std::make_unique<ScriptedWindow>();
    window->hidden = &hidden;
    platform.windows = [&window] { return std::move(window); };
    ASSERT_TRUE(dialog->OpenWindow());
    game->Sprite.OnStartSystem = [this] {
        // What the engine was given before it started.
        EXPECT_TRUE(game->Sprite.DebugOptions().contains(engine::TDebugOption::doSysMemOnly));
        EXPECT_FALSE(game->Sprite.FullScreenMode());
        game->SpriteStartSystem();
    };
    dialog->btnStartClick();
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(dialog->btnStart.Enabled);
    EXPECT_TRUE(GameStarted());
    EXPECT_FALSE(tz::UseVram);
    EXPECT_FALSE(tz::FullScreen);
    EXPECT_TRUE(tz::ReverseSound);
    EXPECT_FALSE(tz::EnableBGM);
    EXPECT_TRUE(tz::EnableSE);
    EXPECT_EQ(tz::StartFrom, 3);

    // Pressed again (a second Enter on its way), nothing more happens.
    dialog->cbStartFrom.ItemIndex = 1;
    dialog->btnStartClick();
    EXPECT_EQ(tz::StartFrom, 3);

    // With video memory allowed, the engine is left as stored.
    TearDown();
    SetUp();
    dialog->FormShow();
    dialog->btnStartClick();
    EXPECT_FALSE(game->Sprite.DebugOptions().contains(engine::TDebugOption::doSysMemOnly));
    EXPECT_TRUE(game->Sprite.FullScreenMode());
}

TEST_F(DialogTest, AReplayChosenInTheListPlaysAndAnUnreadableOneIsRefused) {
    WriteText(dir / "Broken.KRREP", "abc");
    WriteReplay(dir / "Mine.KRREP", 640, {16, 16, 16}, std::string("FROM\x02\0\0\0", 8));
    dialog->FormShow();
    dialog->ReplayList.ItemIndex = 0;
    dialog->ReplayListClick();
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_NE(platform.boxes[0].text.find("Broken.KRREP"), std::string::npos) << platform.boxes[0].text;
    EXPECT_FALSE(dialog->Started());
    EXPECT_FALSE(tz::ReplayMode);

    // The file goes away after the list was made: refused in the same way.
    dialog->ReplayList.ItemIndex = 1;
    fs::rename(dir / "Mine.KRREP", dir / "Moved.KRREP");
    dialog->ReplayListClick();
    EXPECT_EQ(platform.boxes.size(), 2u);
    EXPECT_FALSE(dialog->Started());

    fs::rename(dir / "Moved.KRREP", dir / "Mine.KRREP");
    dialog->ReplayListClick();
    EXPECT_TRUE(dialog->Started());
    EXPECT_TRUE(tz::ReplayMode);
    EXPECT_EQ(tz::ReplayStartFrom, 2);   // its own start point, whatever the start-from box says
    EXPECT_EQ(tz::NextGameStartFrom(), 2);
    EXPECT_TRUE(GameStarted());
}

TEST_F(DialogTest, TheManualOpensBesideTheProgram) {
    WriteText(dir / "Korrindal.htm", "<html></html>");
    dialog->btnManualClick();
    ASSERT_EQ(platform.opened.size(), 1u);
    EXPECT_EQ(platform.opened[0], (dir / "Korrindal.htm").string());
    EXPECT_TRUE(platform.boxes.empty());
    platform.openSucceeds = false;
    dialog->btnManualClick();
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_NE(platform.boxes[0].text.find("Korrindal.htm"), std::string::npos);
    EXPECT_FALSE(dialog->Started());
}

TEST_F(DialogTest, KeyboardMovesTheFocusTicksBoxesAndStarts) {
    dialog->FormShow();   // no replays: the list is disabled and skipped
    EXPECT_EQ(dialog->Focus(), TControlId::btnStart);
    dialog->HandleInput(Key(FormKey::Tab));
    EXPECT_EQ(dialog->Focus(), TControlId::btnManual);
    dialog->HandleInput(Key(FormKey::Tab));
    EXPECT_EQ(dialog->Focus(), TControlId::cbVRAM);   // round to the first
    dialog->HandleInput(Key(FormKey::Tab, true));
    dialog->HandleInput(Key(FormKey::Tab, true));
    dialog->HandleInput(Key(FormKey::Tab, true));
    EXPECT_EQ(dialog->Focus(), TControlId::cbStartFrom);   // back past the disabled list
    dialog->HandleInput(Key(FormKey::Down));
    dialog->HandleInput(Key(FormKey::Down));
    EXPECT_EQ(dialog->cbStartFrom.ItemIndex, 2);
    dialog->HandleInput(Key(FormKey::End));
    dialog->HandleInput(Key(FormKey::Down));
    EXPECT_EQ(dialog->cbStartFrom.ItemIndex, 5);
    dialog->HandleInput(Key(FormKey::Up));
    EXPECT_EQ(dialog->cbStartFrom.ItemIndex, 4);
    dialog->HandleInput(Key(FormKey::Tab, true));
    EXPECT_EQ(dialog->Focus(), TControlId::cbSmoothMotion);
    dialog->HandleInput(Key(FormKey::Space));
    EXPECT_FALSE(dialog->cbSmoothMotion.Checked);
    dialog->HandleInput(Key(FormKey::Tab, true));
    EXPECT_EQ(dialog->Focus(), TControlId::cbFullScreen);
    dialog->HandleInput(Key(FormKey::Space));
    EXPECT_FALSE(dialog->cbFullScreen.Checked);
    dialog->HandleInput(Click(TControlId::cbReverseSound));   // the mouse moves the focus too
    EXPECT_TRUE(dialog->cbReverseSound.Checked);
    EXPECT_EQ(dialog->Focus(), TControlId::cbReverseSound);
    dialog->HandleInput(Key(FormKey::Enter));   // Enter on a box: the default button
    EXPECT_TRUE(dialog->Started());
    EXPECT_FALSE(tz::FullScreen);
    EXPECT_FALSE(tz::SmoothMotion);
    EXPECT_TRUE(tz::ReverseSound);
    EXPECT_EQ(tz::StartFrom, 4);
}

TEST_F(DialogTest, ArrowKeysMoveInTheReplayListAndEnterPlaysTheLine) {
    WriteReplay(dir / "A.KRREP", 1, {16});
    WriteReplay(dir / "B.KRREP", 2, {16});
    WriteReplay(dir / "C.KRREP", 3, {16});
    dialog->FormShow();
    dialog->HandleInput(Key(FormKey::Down));   // from the start button: into the list
    EXPECT_EQ(dialog->Focus(), TControlId::ReplayList);
    EXPECT_EQ(dialog->ReplayList.ItemIndex, 0);
    dialog->HandleInput(Key(FormKey::Down));
    dialog->HandleInput(Key(FormKey::Down));
    dialog->HandleInput(Key(FormKey::Down));
    EXPECT_EQ(dialog->ReplayList.ItemIndex, 2);   // stops at the last line
    dialog->HandleInput(Key(FormKey::Home));
    dialog->HandleInput(Key(FormKey::Up));
    EXPECT_EQ(dialog->ReplayList.ItemIndex, 0);
    dialog->HandleInput(Key(FormKey::Down));
    EXPECT_FALSE(dialog->Started());   // moving does not play
    dialog->HandleInput(Key(FormKey::Enter));
    EXPECT_TRUE(dialog->Started());
    EXPECT_TRUE(tz::ReplayMode);
    EXPECT_EQ(tz::ReplayLength, 1);
}

TEST_F(DialogTest, AClickOnALinePlaysItAndEscapeOrTheCloseButtonQuitsWritingNothing) {
    WriteReplay(dir / "A.KRREP", 1, {16, 0});
    dialog->FormShow();
    dialog->HandleInput(Choose(TControlId::ReplayList, 5));   // no such line
    EXPECT_FALSE(dialog->Started());
    dialog->HandleInput(Choose(TControlId::ReplayList, 0));
    EXPECT_TRUE(dialog->Started());
    EXPECT_EQ(tz::ReplayLength, 2);

    for (const FormInput& quit : {Key(FormKey::Escape), FormInput{FormInput::Type::Close}}) {
        TForm2 other(platform, *game);
        other.FormShow();
        other.HandleInput(quit);
        EXPECT_TRUE(other.Closed());
        EXPECT_FALSE(other.Visible());
        other.HandleInput(Key(FormKey::Enter));   // a closed dialog starts nothing
        EXPECT_FALSE(other.Started());
    }
    EXPECT_FALSE(fs::exists(IniPath()));
}

TEST_F(DialogTest, TheWindowShowsTheControlsAndEnglishCaptionsWithoutAJapaneseFont) {
    ScriptedWindow* seen = nullptr;
    platform.windows = [&seen] {
        auto w = std::make_unique<ScriptedWindow>();
        w->japaneseFonts = false;
        w->script.push_back({Key(FormKey::Tab), Key(FormKey::Space)});   // the manual button
        // Back to start and Enter; the Escape after it is not the dialog's.
        w->script.push_back({Key(FormKey::Tab, true), Key(FormKey::Enter), Key(FormKey::Escape)});
        seen = w.get();
        return w;
    };
    ASSERT_TRUE(dialog->Show());
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->openedCaption, "Startup options");
    ASSERT_EQ(seen->lastShown.size(), static_cast<std::size_t>(TControlId::Count));
    const auto& vram = seen->lastShown[static_cast<std::size_t>(TControlId::cbVRAM)];
    EXPECT_EQ(vram.caption, "Use video memory");
    EXPECT_EQ(vram.kind, plat::ControlKind::CheckBox);
    EXPECT_TRUE(vram.checked);
    EXPECT_TRUE(seen->lastShown[static_cast<std::size_t>(TControlId::btnStart)].isDefault);
    EXPECT_TRUE(seen->lastShown[static_cast<std::size_t>(TControlId::btnStart)].focused);
    EXPECT_TRUE(seen->lastShown[static_cast<std::size_t>(TControlId::ReplayList)].fixedPitch);
    EXPECT_TRUE(dialog->ProcessFrame());
    EXPECT_EQ(platform.opened.size(), 1u);
    EXPECT_TRUE(dialog->ProcessFrame());
    EXPECT_TRUE(dialog->Started());
    EXPECT_FALSE(dialog->Closed());   // the input after start is not the dialog's
    EXPECT_FALSE(dialog->ProcessFrame());

    // A window that cannot open says why.
    TForm2 other(platform, *game);
    platform.windows = [] {
        auto w = std::make_unique<ScriptedWindow>();
        w->opens = false;
        return w;
    };
    EXPECT_FALSE(other.Show());
    EXPECT_EQ(other.WindowError(), "no display here");
}
