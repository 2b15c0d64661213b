// Linked into every loader test program: the program runs in a fresh folder of its own, so the
// loader's log, its configuration file and its work folder never land beside the build or in
// the sources, and two test programs never share them. The folder goes when the program ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

class OwnFolder : public ::testing::Environment {
public:
    void SetUp() override {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/x740flash-run-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr || ::getcwd(m_Previous, sizeof m_Previous) == nullptr ||
            ::chdir(pattern.c_str()) != 0) {
            throw std::runtime_error("no folder of its own for the test program");
        }
        m_Folder = pattern;
    }
    void TearDown() override {
        if (m_Folder.empty()) {
            return;
        }
        [[maybe_unused]] const int back = ::chdir(m_Previous);
        std::error_code ec;
        std::filesystem::remove_all(m_Folder, ec);
    }

private:
    char m_Previous[4096] = {};
    std::string m_Folder;
};

const auto* const g_OwnFolder = ::testing::AddGlobalTestEnvironment(new OwnFolder);

} // namespace
