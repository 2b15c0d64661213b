// The installation a benchmark of the program runs against: the settings stores pointed at a
// program folder, the sample catalogue copied so that the module factory loads every type, and
// large projects built from it.
#pragma once

#include "bench/bench_support.h"
#include "catalogue/module_description.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>

namespace bench {

namespace fs = std::filesystem;

// Document hooks that give the program folder and the catalogue, nothing else.
class CatalogueDocHooks : public mv::IDocHooks {
public:
    CatalogueDocHooks(std::string dir, const CModuleDescriptionList& catalogue)
        : dir_(std::move(dir)), catalogue_(catalogue) {}
    std::string ProgramDir() override { return dir_; }
    const CModuleDescriptionList* Catalogue() override { return &catalogue_; }

private:
    std::string dir_;
    const CModuleDescriptionList& catalogue_;
};

// Points the machine store at the installation in `programDir` and keeps both stores in `root`.
inline void UseInstallation(const std::string& root, const std::string& programDir) {
    std::ofstream(root + "/machine.reg", std::ios::binary)
        << "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" << programDir << "\"\r\n";
    ::setenv(mv::kMachineStoreEnv, (root + "/machine.reg").c_str(), 1);
    ::setenv(mv::kUserStoreEnv, (root + "/user.reg").c_str(), 1);
}

// Copies the module descriptions and the pictures of the program folder `from` into `dir`,
// protocol 1 throughout and every name plain; with `layouts` the label layouts and pin lists
// too. False when `from` has no description folder.
inline bool CopyCatalogue(const fs::path& from, const fs::path& dir, bool layouts) {
    std::error_code ec;
    fs::create_directories(dir / "Modul", ec);
    fs::create_directories(dir / "bmp", ec);
    if (!fs::is_directory(from / "Modul"))
        return false;
    for (const auto& e : fs::directory_iterator(from / "Modul")) {
        const auto ext = e.path().extension();
        if (layouts && (ext == ".etk" || ext == ".pin")) {
            fs::copy_file(e.path(), dir / "Modul" / e.path().filename(), ec);
            continue;
        }
        if (ext != ".kvn")
            continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text = std::regex_replace(text, std::regex("Protocol_ID=[0-9]+"), "Protocol_ID=1");
        text = std::regex_replace(text, std::regex("Description=@"), "Description=");
        std::ofstream(dir / "Modul" / e.path().filename(), std::ios::binary) << text;
    }
    for (const auto& e : fs::directory_iterator(from / "bmp", ec))
        fs::copy_file(e.path(), dir / "bmp" / e.path().filename(), ec);
    return true;
}

// A scratch copy of the sample catalogue, scanned and served to the documents: the program
// folder of the benchmark (or the folder given as its first argument) copied into `name`'s
// scratch folder, with the label layouts when `layouts` is set. `Ready()` is false (and the
// reason said on stderr) when nothing could be set up.
class CatalogueInstall {
public:
    CatalogueInstall(int argc, char** argv, const char* name, bool layouts) {
        const std::string made = MakeScratchFolder(name);
        if (made.empty())
            return;
        dir_ = made;
        const fs::path source = argc > 1
            ? fs::path(argv[1])
            : fs::canonical(fs::path(argv[0]).parent_path());
        if (!CopyCatalogue(source, dir_, layouts)) {
            std::fprintf(stderr, "no catalogue in %s\n", source.c_str());
            return;
        }
        ModuleDescriptionContext context;
        context.programDir = dir_.string();
        setModuleDescriptionContext(context);
        mv::FakeClock clock;
        catalogue_.Scan(dir_.string(), "English", {}, clock);
        hooks_ = std::make_unique<CatalogueDocHooks>(dir_.string(), catalogue_);
        mv::setDocHooks(hooks_.get());
    }
    // Unhooks the catalogue and removes the scratch folder with what the benchmark wrote there.
    ~CatalogueInstall() {
        if (hooks_)
            mv::setDocHooks(nullptr);
        mv::iniClearCache();
        if (!dir_.empty()) {
            std::error_code ec;
            fs::remove_all(dir_, ec);
        }
    }
    CatalogueInstall(const CatalogueInstall&) = delete;
    CatalogueInstall& operator=(const CatalogueInstall&) = delete;

    bool Ready() const { return hooks_ != nullptr; }
    const fs::path& Dir() const { return dir_; }
    const CModuleDescriptionList& Catalogue() const { return catalogue_; }

private:
    fs::path dir_;
    CModuleDescriptionList catalogue_;
    std::unique_ptr<CatalogueDocHooks> hooks_;
};

// Adds `stations` stations to `doc`, each an X740 with `boards` boards of eight types in turn,
// labelled "Board <n>".
inline void AddStations(CMorvelanDoc& doc, const CModuleDescriptionList& catalogue,
                        const std::string& dir, int stations, int boards) {
    const char* types[] = {"D2110", "D2210", "A3104", "A3204", "C643", "K614", "K618", "P4010"};
    for (int s = 0; s < stations; ++s) {
        auto head = std::make_unique<CModuleTile>();
        head->Create(catalogue.GetAt(catalogue.FindByName("X740")), dir);
        doc.AddModuleToGroup(std::move(head));
        for (int b = 0; b < boards; ++b) {
            auto tile = std::make_unique<CModuleTile>();
            tile->Create(catalogue.GetAt(catalogue.FindByName(types[b % 8])), dir);
            tile->m_Lines[0] = "Board " + std::to_string(b);
            doc.AddModuleToGroup(std::move(tile));
        }
    }
}

// Writes a project file of `stations` stations, each an X740 with `boards` boards of eight
// description files in turn; with `labels` each board's first label line is "Board <n>".
inline void WriteProjectFile(const std::string& path, int stations, int boards, bool labels) {
    const char* const files[] = {"D2110.kvn", "D2210.kvn", "A3104.kvn", "A3204.kvn",
                                 "K614.kvn",  "C643.kvn",  "@K2270.kvn", "F8020.kvn"};
    std::ofstream out(path, std::ios::binary);
    out << "[MAIN]\r\nINFO=Morvelan\r\nModule=" << stations << "\r\nName=Bench\r\n";
    for (int s = 0; s < stations; ++s) {
        out << "[M" << s << "]\r\nName=Station " << s << "\r\nComment= \r\nPrints=" << boards + 1
            << "\r\n";
        out << "[M" << s << "P0]\r\nFilename=X740.kvn\r\n";
        for (int j = 1; j <= boards; ++j) {
            out << "[M" << s << "P" << j << "]\r\n";
            if (labels)
                out << "ETKL1=Board " << j << "\r\n";
            out << "Filename=" << files[j % std::size(files)] << "\r\n";
        }
    }
}

} // namespace bench
