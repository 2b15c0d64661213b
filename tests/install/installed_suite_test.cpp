// The suite as a desktop user finds it after `cmake --install` into a fresh prefix: the
// launchers in bin, the program started through its launcher with the sample project, the
// loader run where the user stands, the desktop entry, the project file type and the icons.
#include "tests/flash/loader/run_program.h"
#include "tests/test_paths.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using flashtest::ScratchFolder;

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kProgramTimeMs = 60000;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The width and height a PNG file's header gives; 0 x 0 for anything that is no PNG.
std::pair<unsigned, unsigned> PngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 16, std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16)) != 0)
        return {0, 0};
    auto be32 = [&](std::size_t at) {
        unsigned v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

TEST(InstalledSuite, AsADesktopUserFindsIt) {
    ScratchFolder scratch;
    const fs::path prefix = scratch.file("prefix");
    const std::string install = Quoted(MV_CMAKE_COMMAND) + " --install " + Quoted(MV_BUILD_DIR) +
                                " --prefix " + Quoted(prefix) + " > " +
                                Quoted(scratch.file("install.log")) + " 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << ReadAll(scratch.file("install.log"));
    const fs::path folder = prefix / "lib/morvelan";

    // Both programs are on the PATH as links into the program folder.
    for (const char* program : {"morvelan", "X740Flash"}) {
        const fs::path link = prefix / "bin" / program;
        ASSERT_TRUE(fs::is_symlink(link)) << link;
        EXPECT_EQ(fs::canonical(link), fs::canonical(folder / program));
    }

    // The desktop entry names the launcher and the icon; the file type names the same icon.
    const fs::path entry = prefix / "share/applications/morvelan.desktop";
    const std::string desktop = ReadAll(entry);
    EXPECT_NE(desktop.find("\nExec=morvelan %f\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nIcon=morvelan\n"), std::string::npos) << desktop;
    EXPECT_NE(ReadAll(prefix / "share/mime/packages/morvelan.xml").find("<icon name=\"morvelan\"/>"),
              std::string::npos);
    if (std::system("command -v desktop-file-validate > /dev/null 2>&1") == 0) {
        const std::string validate = "desktop-file-validate " + Quoted(entry) + " > " +
                                     Quoted(scratch.file("validate.log")) + " 2>&1";
        EXPECT_EQ(std::system(validate.c_str()), 0) << ReadAll(scratch.file("validate.log"));
    } else {
        std::printf("desktop-file-validate is not installed: the entry is not validated\n");
    }
    // The icons: PNG files of their sizes, the picture the program shows as its window icon.
    EXPECT_FALSE(fs::exists(prefix / "share/pixmaps/morvelan.bmp"));
    for (int size : kIconSizes) {
        const std::string dir = std::to_string(size) + "x" + std::to_string(size);
        const std::string icon = ReadAll(prefix / "share/icons/hicolor" / dir / "apps/morvelan.png");
        EXPECT_EQ(PngSize(icon), std::make_pair(unsigned(size), unsigned(size))) << dir;
        EXPECT_EQ(icon, ReadAll(folder / ("icons/morvelan-" + std::to_string(size) + ".png")));
    }

    // The loader runs where the user stands: its log goes there.
    flashtest::ProgramOptions loader;
    loader.folder = scratch.path();
    loader.env = {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
    const flashtest::ProgramRun run =
        flashtest::RunProgram((prefix / "bin/X740Flash").string(), {"-FC", "-NOKEY"}, loader);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("Error : Error reading file ipc.cfg\n"), std::string::npos)
        << run.output;
    EXPECT_NE(ReadAll(scratch.file("X740Flash_Log.txt")).find("-FC -NOKEY"), std::string::npos);

    // The launcher starts the program offscreen with the sample project. Once the program has
    // read the project, a termination request ends it as Exit does, and the project is its
    // recent file.
    const fs::path project = folder / "samples/demo.mvl";
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, project.c_str(), IN_CLOSE_NOWRITE), 0);
    const std::string home = scratch.file("home");
    fs::create_directories(home);
    fs::permissions(home, fs::perms::owner_all, fs::perm_options::replace);
    const std::string userStore = home + "/user.reg";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int out = ::open((home + "/output.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(out, 2);
        if (::chdir(home.c_str()) != 0)
            ::_exit(126);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
        ::setenv("MORVELAN_USER_REG", userStore.c_str(), 1);
        ::unsetenv("MORVELAN_MACHINE_REG");
        const std::string launcher = (prefix / "bin/morvelan").string();
        ::execl(launcher.c_str(), "morvelan", project.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    pollfd read{watch, POLLIN, 0};
    EXPECT_EQ(::poll(&read, 1, kProgramTimeMs), 1) << "the project was not read";
    ::close(watch);
    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadAll(home + "/output.txt");
    EXPECT_NE(ReadAll(userStore).find("File1=sz:\"" + project.string() + "\""), std::string::npos)
        << ReadAll(userStore);
}

} // namespace
