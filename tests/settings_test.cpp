// The settings that stay: Trovik.prf in the simulator's preferences folder, written when a
// setting changes and read at the next start, whatever state the file or its folder is in.
#include <algorithm>
#include <filesystem>
#include <fstream>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "support.h"

namespace trovik_test {
namespace {

namespace fs = std::filesystem;

const char* const kHeader =
    "# Trovik's settings, written when they change in the simulator.\n"
    "# joystick_slew 0 or 1; speed_factor 1/8, 1/4, 1/2, 1, 2, 4, 8 or 16.\n";

class SettingsTest : public PluginTest {
  protected:
    static fs::path Folder() { return fs::u8path(host().utilities.prefsFolder); }
    static fs::path File(const char* suffix = "") {
        return Folder() / (std::string(hostsim::paths::kSettingsFile) + suffix);
    }
    // The file's name as the plug-in writes it in the log: the folder as the simulator gave it.
    static std::string Named(const char* suffix = "") {
        return host().utilities.prefsFolder + "/" + hostsim::paths::kSettingsFile + suffix;
    }
    static bool Exists(const fs::path& path) {
        std::error_code ignored;  // qemu can make a stat of a missing file fail oddly
        return fs::exists(path, ignored);
    }
    static void Write(const std::string& content) {
        std::ofstream(File(), std::ios::binary) << content;
    }
    // Stopped and started again, as at the simulator's next start; the log as it then read.
    void Restart() {
        plugin.unload();
        host().utilities.log.clear();
        Load();
    }
    // What the user sees of the two settings: the menu's check and the overlay's label.
    std::string Shown() {
        DownY();
        const std::string shown =
            std::to_string(host().commands.findMenuItem("Joystick slew")->check ==
                           xplm_Menu_Checked) +
            " " + host().display.drawFrame().texts.at(1).text;
        DownY();
        return shown;
    }
    static void Faster(bool faster = true) {
        host().commands.once(host().commands.find(faster ? "trovik/faster" : "trovik/slower"));
    }
};

TEST_F(SettingsTest, ChangesAreWrittenAtOnceAndReadAtTheNextStart) {
    EXPECT_EQ(Shown(), "1 Slew Mode");
    EXPECT_FALSE(Exists(File())) << "nothing changed, nothing written";
    host().commands.pickMenuItem("Joystick slew");
    Faster();
    Faster();
    EXPECT_EQ(FileText(File()), std::string(kHeader) + "joystick_slew 0\nspeed_factor 4\n");
    EXPECT_FALSE(Exists(File(".tmp")));
    Restart();
    EXPECT_EQ(Shown(), "0 Slew Mode x4");
    EXPECT_EQ(host().utilities.log, Calls{});
    // Stopped and started again in the same process after the file went: the defaults, not the
    // last run's settings.
    StopAndStart([] { fs::remove(File()); });
    EXPECT_EQ(Shown(), "1 Slew Mode");

    // In a folder whose name is not ASCII, as a user's may be.
    host().utilities.prefsFolder += u8"/Pr\u00e9f\u00e9rences \u2708";
    fs::create_directories(Folder());
    Restart();
    Faster();
    Restart();
    EXPECT_EQ(Shown(), "1 Slew Mode x2");
}

// The key choices, by the menu, by their commands and from the file: a line each only once it is
// not the default, the check marks following every way they change, and Y the simulator's while
// its choice is off.
TEST_F(SettingsTest, TheKeyChoicesAreKeptAndTheMenuFollowsThem) {
    const auto checks = [] {
        std::string s;
        for (const char* item : {"One step per tap", "Keypad and F-keys", "Y toggles slew mode"})
            s += std::to_string(host().commands.findMenuItem(item)->check);
        return s + ", Y keys " + std::to_string(host().display.hotKeys.size());
    };
    const auto command = [](const char* name) { host().commands.once(host().commands.find(name)); };
    // A file from before them reads as it did: every choice at its default.
    Write("joystick_slew 0\nspeed_factor 4\n");
    Restart();
    EXPECT_EQ(checks(), "122, Y keys 1");
    EXPECT_EQ(Shown(), "0 Slew Mode x4");
    host().commands.pickMenuItem("One step per tap");
    command("trovik/slew_keys");
    host().commands.pickMenuItem("Y toggles slew mode");
    EXPECT_EQ(checks(), "211, Y keys 0");
    EXPECT_EQ(FileText(File()),
              "joystick_slew 0\nspeed_factor 4\nkey_steps press\nslew_keys 0\nhot_key 0\n");
    host().display.pressKey(XPLM_VK_Y);
    EXPECT_EQ(HotKeyMaster(), 0) << "Y is the simulator's";
    Restart();
    EXPECT_EQ(checks(), "211, Y keys 0");
    EXPECT_EQ(host().utilities.log, Calls{});
    // Y back: exactly one, and it toggles.
    command("trovik/hot_key");
    command("trovik/hot_key");
    command("trovik/hot_key");
    EXPECT_EQ(checks(), "212, Y keys 1");
    DownY();
    EXPECT_EQ(HotKeyMaster(), 1);
    DownY();
    command("trovik/one_step_per_tap");
    EXPECT_EQ(FileText(File()),
              "joystick_slew 0\nspeed_factor 4\nkey_steps both\nslew_keys 0\nhot_key 1\n");

    // Words they do not take: ignored, with the one line.
    Write("key_steps once\nslew_keys off\nhot_key 2\nhot_key 0\n");
    Restart();
    EXPECT_EQ(checks(), "121, Y keys 0");
    EXPECT_EQ(
        host().utilities.log,
        Calls{"Trovik: " + Named() + ": line 1 and 2 more are not settings; they are ignored\n"});
}

TEST_F(SettingsTest, BrokenFilesGiveTheDefaultsAndOneLogLineAtMost) {
    std::string noise;
    for (unsigned i = 0, x = 12345; i < 4096; ++i, x = x * 1103515245u + 12345u)
        noise += static_cast<char>(x >> 24);
    const std::string mib(1024 * 1024, 'z');
    const struct {
        const char* what;
        std::string content;  // nothing: no file; "/": a folder in its place
        const char* shown;
        const char* log;
    } cases[] = {
        {"missing", "", "1 Slew Mode", nullptr},
        {"both set", "joystick_slew 0\r\nspeed_factor 1/2", "0 Slew Mode x1/2", nullptr},
        {"bad values among good",
         "speed_factor 32\n  joystick_slew   0  \nspeed_factor nan\njoystick_slew\n# a note\n\n"
         "speed_factor 1/16\nbogus line\nspeed_factor 2\nspeed_factor 3",
         "0 Slew Mode x2", ": line 1 and 5 more are not settings; they are ignored\n"},
        {"a malformed first line", "\x01 \xff\x7f joystick_slew\njoystick_slew 0\nspeed_factor 4",
         "0 Slew Mode x4", ": line 1 is not a setting; it is ignored\n"},
        {"random bytes", noise, "1 Slew Mode", "are not settings; they are ignored\n"},
        {"10 MB", std::string(10 * mib.size(), 'z'), "1 Slew Mode", "is larger than 64 KiB"},
        {"a line of 100 000", std::string(100000, 'x') + "\njoystick_slew 0\n", "1 Slew Mode",
         "is larger than 64 KiB"},
        {"a folder", "/", "1 Slew Mode", "Trovik: cannot read "},
    };
    for (const auto& c : cases) {
        host().utilities.emptyPrefsFolder();
        if (c.content == "/")
            fs::create_directory(File());
        else if (!c.content.empty())
            Write(c.content);
        Restart();
        EXPECT_EQ(Shown(), c.shown) << c.what;
        ASSERT_EQ(host().utilities.log.size(), c.log == nullptr ? 0u : 1u) << c.what;
        if (c.log != nullptr) {
            EXPECT_EQ(host().utilities.log[0].rfind("Trovik: ", 0), 0u) << host().utilities.log[0];
            EXPECT_NE(host().utilities.log[0].find(c.log), std::string::npos)
                << host().utilities.log[0];
        }
    }
}

TEST_F(SettingsTest, ARewriteKeepsWhatItCouldNotReadAndMovesATooLargeFileAside) {
    Write("# mine\nspeed_factor 2\nwhat is this\njoystick_slew 7\nspeed_factor 8\n");
    Restart();
    Faster();
    EXPECT_EQ(FileText(File()),
              "# mine\nspeed_factor 16\nwhat is this\njoystick_slew 7\njoystick_slew 1\n");

    const std::string large(10 * 1024 * 1024, 'z');
    Write(large);
    Restart();
    Faster();
    EXPECT_EQ(FileText(File(".bad")), large);
    EXPECT_EQ(FileText(File()), std::string(kHeader) + "joystick_slew 1\nspeed_factor 2\n");

    // Exactly the limit: read, but with our lines it would not fit. Moved aside whole, beside
    // the .bad that is there already.
    std::string full = "speed_factor 2\n";
    while (full.size() < 64 * 1024)
        full += std::string(std::min<size_t>(64 * 1024 - full.size(), 80) - 1, '#') + "\n";
    Write(full);
    Restart();
    Faster();
    EXPECT_EQ(FileText(File(".bad")), large);
    EXPECT_EQ(FileText(File(".bad2")), full);
    EXPECT_EQ(FileText(File()), std::string(kHeader) + "joystick_slew 1\nspeed_factor 4\n");
    EXPECT_EQ(host().utilities.log,
              Calls{"Trovik: " + Named() + " would grow past 64 KiB; it was moved to " +
                    Named(".bad2") + " and written afresh\n"});
}

TEST_F(SettingsTest, AFileThatCannotBeReadIsMovedAsideNeverReplaced) {
    // A folder in its place: moved to the first free aside name, the new file written after.
    fs::create_directory(File());
    std::ofstream(File(".bad")) << "kept";
    Restart();
    EXPECT_EQ(host().utilities.log,
              Calls{"Trovik: cannot read " + Named() +
                    "; using the default settings, and moving it aside when they change\n"});
    Faster();
    EXPECT_TRUE(fs::is_directory(File(".bad2")));
    EXPECT_EQ(FileText(File(".bad")), "kept");
    EXPECT_EQ(FileText(File()), std::string(kHeader) + "joystick_slew 1\nspeed_factor 2\n");

    // With .bad to .bad9 all taken it stays, nothing is written, and the log says so once.
    host().utilities.emptyPrefsFolder();
    fs::create_directory(File());
    for (const char* n : {"", "2", "3", "4", "5", "6", "7", "8", "9"})
        std::ofstream(File((std::string(".bad") + n).c_str())) << n;
    Restart();
    host().utilities.log.clear();
    for (int i = 0; i < 10; ++i)
        Faster();
    EXPECT_TRUE(fs::is_directory(File()));
    // Listed rather than looked up: under arm64 emulation a stat can find a file long gone.
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), {}), 10) << "no .tmp left";
    EXPECT_EQ(host().utilities.log,
              Calls{"Trovik: cannot save settings to " + Named() +
                    ": the old file must be kept, and .bad to .bad9 beside it are all taken\n"});
#if !defined(_WIN32)
    // A FIFO would hold the simulator's start until something wrote to it.
    host().utilities.emptyPrefsFolder();
    ASSERT_EQ(mkfifo(File().c_str(), 0644), 0);
    Restart();
    EXPECT_EQ(Shown(), "1 Slew Mode");
    Faster();
    EXPECT_TRUE(fs::is_fifo(File(".bad")));
    EXPECT_TRUE(fs::is_regular_file(File()));

    // A link is followed: the file it leads to is replaced, the temporary file beside it.
    host().utilities.emptyPrefsFolder();
    fs::create_directory(Folder() / "elsewhere");
    std::ofstream(Folder() / "elsewhere" / "mine.prf") << "speed_factor 2\n";
    fs::create_symlink(fs::path("elsewhere") / "mine.prf", File());
    Restart();
    Faster();
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(FileText(Folder() / "elsewhere" / "mine.prf"), "speed_factor 4\njoystick_slew 1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder() / "elsewhere"), {}), 1);
    // A link to anything but a file is moved aside itself: what it points to is not ours.
    fs::remove(File());
    ASSERT_EQ(mkfifo((Folder() / "pipe").c_str(), 0644), 0);
    fs::create_symlink("pipe", File());
    Restart();
    Faster();
    EXPECT_EQ(fs::read_symlink(File(".bad")), "pipe");
    EXPECT_TRUE(fs::is_fifo(Folder() / "pipe"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(File())));
#endif
}

TEST_F(SettingsTest, AFailedSaveIsLoggedOncePerStreak) {
    // A settings folder that is a file: root, whom permissions do not stop, cannot write there.
    const fs::path sub = Folder() / "sub";
    std::ofstream(sub) << "a file";
    host().utilities.prefsFolder += "/sub";
    const std::string failed = "Trovik: cannot save settings to " + Named();
    Restart();
    for (int i = 0; i < 10; ++i)
        Faster(i % 2 == 0);
    ASSERT_EQ(host().utilities.log.size(), 1u);
#if defined(_WIN32)
    EXPECT_EQ(host().utilities.log[0].rfind(failed + ": ", 0), 0u);
#else
    EXPECT_EQ(host().utilities.log[0], failed + ": Not a directory\n");
#endif
    fs::remove(sub);
    fs::create_directory(sub);
    Faster(true);
    EXPECT_EQ(host().utilities.log.size(), 1u);
    EXPECT_TRUE(Exists(sub / "Trovik.prf"));
    fs::remove_all(sub);
    std::ofstream(sub) << "a file again";
    Faster(true);
    Faster(false);
    EXPECT_EQ(host().utilities.log.size(), 2u);
    EXPECT_EQ(host().utilities.log[1], host().utilities.log[0]);
}

}  // namespace
}  // namespace trovik_test
