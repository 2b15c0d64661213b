// The export lists of the four service libraries: ordinals in order, the public headers
// declaring the functions in ordinal order, every listed function found in its library, and
// ordinal 39 of X740_Core being the very function of ordinal 10.
#include "tests/test_paths.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, std::string>> readList(const std::string& lib) {
    std::ifstream in(mvtest::SourceDir() + "/services/" + lib + ".exports");
    std::vector<std::pair<int, std::string>> out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        int ordinal = 0;
        std::string name;
        fields >> ordinal >> name;
        out.emplace_back(ordinal, name);
    }
    return out;
}

std::vector<std::string> headerOrder(const std::string& lib) {
    std::ifstream in(mvtest::SourceDir() + "/services/include/" + lib + ".h");
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    const std::regex decl(R"(\b(A_[A-Za-z0-9_]+)\s*\()");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), decl);
         it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[1];
        const auto at = static_cast<std::size_t>(it->position(0));
        // Only declarations: the name follows a return type at the start of a line.
        const std::size_t lineStart = text.rfind('\n', at);
        const std::string head = text.substr(lineStart + 1, at - lineStart - 1);
        if (head.find("/*") == std::string::npos && !head.empty() && head[0] != ' ') {
            names.push_back(name);
        }
    }
    return names;
}

struct Library {
    const char* name;
    int count;
    std::vector<int> unused;
};

class ExportList : public ::testing::TestWithParam<Library> {};

TEST_P(ExportList, OrdinalsHeaderAndLibraryAgree) {
    const Library& lib = GetParam();
    const auto list = readList(lib.name);
    ASSERT_FALSE(list.empty());

    std::vector<int> expected;
    for (int i = 1; i <= lib.count; ++i) {
        bool skip = false;
        for (int u : lib.unused)
            skip = skip || u == i;
        if (!skip)
            expected.push_back(i);
    }
    std::vector<int> ordinals;
    std::vector<std::string> names;
    for (const auto& [ordinal, name] : list) {
        ordinals.push_back(ordinal);
        names.push_back(name);
    }
    EXPECT_EQ(ordinals, expected);
    EXPECT_EQ(headerOrder(lib.name), names);

    const std::string path = mvtest::ProgramDir() + "/lib" + lib.name + ".so";
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    for (const std::string& name : names) {
        EXPECT_NE(::dlsym(handle, name.c_str()), nullptr) << name;
    }
    // Nothing of the library's inner code is visible.
    EXPECT_EQ(::dlsym(handle, "_ZN4x7408CX740App8TransactEj"), nullptr);
    // Kept loaded: what the libraries' dependencies allocate at load time stays reachable.
}

INSTANTIATE_TEST_SUITE_P(Services, ExportList,
                         ::testing::Values(Library{"X740_Core", 44, {25}},
                                           Library{"X740_Cam", 16, {}},
                                           Library{"X740_Gate", 15, {}},
                                           Library{"X740_Logic", 5, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExportList, CoreOrdinal39IsOrdinal10) {
    const std::string path = mvtest::ProgramDir() + "/libX740_Core.so";
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    void* ten = ::dlsym(handle, "A_X740_ReadModulConfig");
    ASSERT_NE(ten, nullptr);
    EXPECT_EQ(::dlsym(handle, "A_X740_ReadAktModulConfig"), ten);
}

} // namespace
