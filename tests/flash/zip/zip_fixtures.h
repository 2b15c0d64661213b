// Test archives, written once per test program by make_fixtures.py into a scratch folder.
#pragma once

#include "flash/zip/zip_archive.h"
#include "tests/test_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mv::zip::test {

namespace fs = std::filesystem;

inline fs::path makeScratch(const char* tag) {
    std::string pattern = (fs::temp_directory_path() / (std::string("mvzip-") + tag + "-XXXXXX")).string();
    char* made = ::mkdtemp(pattern.data());
    if (!made)
        throw std::runtime_error("mkdtemp failed");
    return fs::path(made);
}

// The fixture folder, made on first use and removed when the program ends.
class Fixtures : public ::testing::Environment {
public:
    static const fs::path& dir() {
        static Fixtures* self = [] {
            auto* env = new Fixtures;
            ::testing::AddGlobalTestEnvironment(env);
            return env;
        }();
        if (self->m_dir.empty()) {
            self->m_dir = makeScratch("fixtures");
            fs::path script = fs::path(mvtest::SourceDir()) / "tests/flash/zip/make_fixtures.py";
            std::string cmd = "/usr/bin/python3 '" + script.string() + "' '" + self->m_dir.string() + "'";
            if (std::system(cmd.c_str()) != 0)
                throw std::runtime_error("fixture generator failed: " + cmd);
        }
        return self->m_dir;
    }
    static std::string path(const std::string& name) { return (dir() / name).string(); }

    void TearDown() override {
        if (!m_dir.empty()) {
            std::error_code ec;
            fs::remove_all(m_dir, ec);
        }
    }

private:
    fs::path m_dir;
};

inline std::vector<char> readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const fs::path& file, const std::vector<char>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Index of the entry stored under name; a missing entry fails the test and gives -1.
inline int findEntry(const CZipArchive& zip, const std::string& name) {
    for (int i = 0; i < zip.GetCount(); ++i) {
        CZipEntryHeader h;
        zip.GetFileInfo(h, i);
        if (h.m_szFileName == name)
            return i;
    }
    ADD_FAILURE() << "no entry " << name;
    return -1;
}

// A scratch folder per test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() : m_dir(makeScratch("out")) {}
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    const fs::path& path() const { return m_dir; }
    std::string str() const { return m_dir.string(); }

private:
    fs::path m_dir;
};

} // namespace mv::zip::test
