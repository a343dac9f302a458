// The settings that stay: Trovik.prf in the simulator's preferences folder, written when a
// setting changes and read at the next start, whatever state the file or its folder is in.
#include <filesystem>
#include <fstream>

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
    static void Faster() { host().commands.once(host().commands.find("trovik/faster")); }
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

    // A folder where the file should be, or no folder at all: nothing written, nothing broken.
    host().utilities.emptyPrefsFolder();
    fs::create_directory(File());
    Restart();
    Faster();
    EXPECT_TRUE(fs::is_directory(File()));
    EXPECT_FALSE(Exists(File(".tmp")));
    host().utilities.emptyPrefsFolder();
    Write("");
    host().utilities.prefsFolder = (File() / "nowhere").u8string();
    Restart();
    Faster();
    EXPECT_EQ(host().utilities.log, Calls{});
}

}  // namespace
}  // namespace trovik_test
