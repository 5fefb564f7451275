// The keys dialog, opened with K in the real window and worked with keys and
// clicks as a player would.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/keys_dialog.h"
#include "app/keys_file.h"
#include "app/main_window.h"
#include "screens/keys.h"
#include "tests/support/test_assets.h"

namespace {

namespace fs = std::filesystem;

void Tick(TForm1& form, int n)
{
    for (int i = 0; i < n; ++i) form.Timer1Timer();
}

void Click(KeysDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromUtf8(name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isVisible()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// A key pressed where the dialog's focus is, as the keyboard sends it.
void Press(KeysDialog& dialog, Qt::Key key)
{
    QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, key);
}

std::string Message(KeysDialog& dialog) { return dialog.findChild<QLabel*>("message")->text().toStdString(); }

// Presses K in the window and lets `drive` work in the keys dialog that
// opens; a dialog `drive` leaves open is cancelled. False when none opened.
bool WithKeysDialog(TForm1& form, const std::function<void(KeysDialog&)>& drive)
{
    bool opened = false;
    QTimer look;
    look.setSingleShot(true);
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<KeysDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        opened = true;
        drive(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    look.start(0);
    QTest::keyClick(&form, Qt::Key_K);
    return opened;
}

class KeysWindow : public ::testing::Test {
protected:
    static constexpr std::uint32_t Seed = 7;
    fs::path dir = fs::temp_directory_path() / ("burrowkin-keys-" + std::to_string(::getpid()));
    fs::path kept = dir / "config/burrowkin/keys.conf";
    std::optional<std::string> oldConfig;

    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        if (const char* v = std::getenv("XDG_CONFIG_HOME")) oldConfig = v;
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    }
    void TearDown() override
    {
        if (oldConfig) ::setenv("XDG_CONFIG_HOME", oldConfig->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(dir);
    }

    // A window on the whole title, its games made from the seed.
    std::unique_ptr<TForm1> Window(RunOptions runs = {})
    {
        runs.seed = Seed;
        auto form = std::make_unique<TForm1>(TestAssets(), PixelFormat::Rgb32, "/nonexistent", 1, std::move(runs));
        form->setupDialog = [] { return GameSettings{.width = 30, .height = 30, .beginner = false, .speedToDeath = 11}; };
        form->show();
        Tick(*form, 61);
        return form;
    }

    // Starts a game from the setup dialog and holds `walk` for a second:
    // where the character stood, and where it stands.
    static std::pair<int, int> Walk(TForm1& form, Qt::Key walk)
    {
        const GameState& s = form.game().state;
        Tick(form, 10);
        QTest::keyPress(&form, Qt::Key_Space);
        Tick(form, 1);
        QTest::keyRelease(&form, Qt::Key_Space);
        Tick(form, 1);
        EXPECT_EQ(s.Screen, ScreenPlay);
        const int start = s.PlayerX;
        QTest::keyPress(&form, walk);
        Tick(form, 20);
        QTest::keyRelease(&form, walk);
        return {start, s.PlayerX};
    }
};

TEST_F(KeysWindow, KOnTheTitleChoosesAKeyThatWalksAsLeftDoes)
{
    const auto form = Window();
    const GameState& s = form->game().state;
    const bool opened = WithKeysDialog(*form, [&](KeysDialog& dialog) {
        const int clock = s.TitleTicks;
        QTest::qWait(200);
        EXPECT_EQ(s.TitleTicks, clock) << "the title's clock runs while the dialog is open";

        Click(dialog, "left");
        EXPECT_EQ(dialog.Waiting(), int(Control::Left));
        Press(dialog, Qt::Key_A);
        EXPECT_EQ(dialog.Waiting(), -1);
        EXPECT_NE(dialog.findChild<QAbstractButton*>("left:A"), nullptr);

        // A key of another control is refused and stays where it was.
        Click(dialog, "right");
        Press(dialog, Qt::Key_Left);
        EXPECT_EQ(Message(dialog), "Left is already the key of left");
        Click(dialog, "down");
        fs::create_directories(BURROWKIN_ARTIFACTS);
        EXPECT_TRUE(dialog.grab().save(QString(BURROWKIN_ARTIFACTS) + "/keys-dialog-waiting.png"));
        Click(dialog, "down");
        EXPECT_EQ(dialog.Bindings().KeysOf(Control::Right), std::vector<int>{KeyRight});
        EXPECT_EQ(dialog.Bindings().KeysOf(Control::Left), (std::vector<int>{KeyLeft, 'A'}));

        // Tab and Enter reach the row: no move of the focus, no OK.
        Click(dialog, "up");
        Press(dialog, Qt::Key_Tab);
        EXPECT_EQ(Message(dialog), "Tab is already the key of fast-forward");
        Click(dialog, "up");
        Press(dialog, Qt::Key_Return);
        EXPECT_EQ(Message(dialog), "Enter is already the key of use");
        EXPECT_TRUE(dialog.isVisible());

        // A key shown is taken away by a click, but never a control's last.
        Click(dialog, "up:Up");
        EXPECT_EQ(Message(dialog), "up keeps at least one key");
        EXPECT_EQ(dialog.Bindings().KeysOf(Control::Up), std::vector<int>{KeyUp});
        Click(dialog, "ok");
    });
    ASSERT_TRUE(opened);
    KeyBindings expected = KeyBindings::Defaults();
    expected.Bind(Control::Left, 'A');
    EXPECT_EQ(form->Bindings().Text(), expected.Text());
    EXPECT_FALSE(fs::exists(kept)) << "written without being asked";

    const auto [startA, walkedA] = Walk(*form, Qt::Key_A);
    const auto comparison = Window();
    const auto [startLeft, walkedLeft] = Walk(*comparison, Qt::Key_Left);
    EXPECT_EQ(startA, startLeft);
    EXPECT_LT(walkedLeft, startLeft);
    EXPECT_EQ(walkedA, walkedLeft);

    // Never during play.
    EXPECT_FALSE(WithKeysDialog(*form, [](KeysDialog&) {}));
    EXPECT_EQ(s.Screen, ScreenPlay);
}

TEST_F(KeysWindow, KeysAreKeptOnlyWhenAskedAndEscapeCancelsEvenWhileARowWaits)
{
    const auto form = Window();
    const GameState& s = form->game().state;

    ASSERT_TRUE(WithKeysDialog(*form, [&](KeysDialog& dialog) {
        Click(dialog, "left");
        Press(dialog, Qt::Key_A);
        Click(dialog, "keep");
        Click(dialog, "right");
        ASSERT_EQ(dialog.Waiting(), int(Control::Right));
        Press(dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    }));
    EXPECT_EQ(form->Bindings().Text(), KeyBindings::Defaults().Text());
    EXPECT_FALSE(fs::exists(kept));
    const int clock = s.TitleTicks;
    Tick(*form, 3);
    EXPECT_EQ(s.TitleTicks, clock + 3) << "the title's clock stays stopped after the dialog";

    // Button 1 of the pad moves from select to use.
    testing::internal::CaptureStdout();
    ASSERT_TRUE(WithKeysDialog(*form, [&](KeysDialog& dialog) {
        Click(dialog, "pad-use:1");
        Click(dialog, "keep");
        Press(dialog, Qt::Key_Return);
    }));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("keys kept in " + kept.string()), std::string::npos);
    EXPECT_EQ(form->Bindings().PadSelect(), 8u);
    EXPECT_EQ(form->Bindings().PadUse(), 1u | 2u | 4u);
    ASSERT_TRUE(fs::exists(kept));
    EXPECT_EQ(ReadKeysFile(kept.string()).value_or(KeyBindings()).Text(), form->Bindings().Text());

    // Where the file cannot be written, the player hears why and plays with the keys.
    std::ofstream(dir / "plain") << "a file, not a folder";
    ::setenv("XDG_CONFIG_HOME", (dir / "plain").c_str(), 1);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(WithKeysDialog(*form, [&](KeysDialog& dialog) {
        Click(dialog, "defaults");
        Click(dialog, "keep");
        Click(dialog, "ok");
    }));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the keys could not be kept"), std::string::npos) << said;
    EXPECT_NE(said.find((dir / "plain/burrowkin").string()), std::string::npos) << said;
    EXPECT_EQ(form->Bindings().Text(), KeyBindings::Defaults().Text());
    EXPECT_EQ(ReadKeysFile(kept.string())->PadUse(), 7u) << "the kept file is left as it was";

    // --keys FILE: kept there instead.
    RunOptions own;
    own.keysFile = (dir / "mine.conf").string();
    const auto other = Window(own);
    testing::internal::CaptureStdout();
    WithKeysDialog(*other, [&](KeysDialog& dialog) {
        Click(dialog, "keep");
        Click(dialog, "ok");
    });
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(fs::exists(dir / "mine.conf"));
}

TEST(KeysDialog, ThePadsRowsTakeTheNextButtonPressedOrTheirButtonsByHand)
{
    std::uint32_t held = 2;  // held before the row waits: not a press
    KeysDialog dialog(KeyBindings::Defaults(), [&] { return std::optional(held); });
    dialog.show();
    Click(dialog, "pad-select");
    QTest::qWait(150);
    EXPECT_EQ(dialog.Waiting(), int(KeysFormRows.size()) - 2);
    held = 2 | 4;
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.Waiting() == -1; }, 2000));
    EXPECT_EQ(dialog.Bindings().PadSelect(), 1u | 4u | 8u);
    EXPECT_EQ(dialog.Bindings().PadUse(), 2u);
    EXPECT_FALSE(dialog.findChild<QAbstractButton*>("pad-use:3")->isChecked());

    // By hand: ticked moves a button here, unticked takes it away, never the last.
    Click(dialog, "pad-use:1");
    EXPECT_EQ(dialog.Bindings().PadSelect(), 4u | 8u);
    Click(dialog, "pad-use:2");
    Click(dialog, "pad-use:1");
    EXPECT_EQ(Message(dialog), "select and use keep at least one button of the pad each");
    EXPECT_EQ(dialog.Bindings().PadUse(), 1u);
    EXPECT_TRUE(dialog.findChild<QAbstractButton*>("pad-use:1")->isChecked());

    KeysDialog padless(KeyBindings::Defaults());
    EXPECT_FALSE(padless.findChild<QAbstractButton*>("pad-use")->isEnabled());
}

}  // namespace
