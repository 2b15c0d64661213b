// Reading and writing the project file, the Save commands and closing.
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/description_problems.h"
#include "catalogue/module_description.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/core/param_number.h"
#include "platform/ini_file.h"
#include "platform/win_path.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Texts of the project file are read whole.
constexpr std::uint32_t kTextBuffer = 65536;
// The type name field is read as the classic 255-byte buffer.
constexpr std::uint32_t kFileNameBuffer = 256;
constexpr const char* kMain = "MAIN";
// The default that tells a missing key from an empty value (no file text holds it).
constexpr const char* kAbsentKey = "\x01";

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A station text: the writer stores an empty text as one blank, and that blank is what reads
// back, as for a text that is missing.
std::string ReadStationText(const std::string& path, const std::string& section, const char* key) {
    std::string text = mv::iniReadString(path, section, key, " ", kTextBuffer);
    return text.empty() ? std::string(" ") : text;
}

} // namespace

std::string EncodeComment(const std::string& comment) {
    std::string stored = comment;
    for (char& c : stored) {
        if (c == '\r')
            c = kStoredCr;
        else if (c == '\n')
            c = kStoredLf;
    }
    return stored;
}

std::string DecodeComment(const std::string& stored) {
    std::string comment = stored;
    for (char& c : comment) {
        if (c == kStoredCr)
            c = '\r';
        else if (c == kStoredLf)
            c = '\n';
    }
    return comment;
}

std::string TypeNameOf(const std::string& fileName) {
    std::size_t start = 0;
    while (start < fileName.size() && fileName[start] == '.')
        ++start;
    const std::size_t dot = fileName.find('.', start);
    return fileName.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

int CMorvelanDoc::OnNewDocument() {
    m_Comment.clear();
    m_Date.clear();
    m_Company.clear();
    m_Author.clear();
    m_Name.clear();
    DeleteContents();
    m_PathName.clear();
    m_Title.clear();
    mv::IDocHooks& hooks = mv::docHooks();
    hooks.InitialUpdateView();
    hooks.SetRackLayout();
    hooks.SetUnknownModule(false);
    return 1;
}

void CMorvelanDoc::ReportUnknownType(const std::string& name, const std::string& where) {
    mv::docHooks().SetUnknownModule(true);
    mv::appHooks().ShowMessage(
        mv::ErrorMessage("Unknown modul in project", "Type \"" + name + "\" in " + where));
}

CModuleTile* CMorvelanDoc::PlaceTile(int station, const CModuleDescription* description,
                                     bool showBoards) {
    mv::IDocHooks& hooks = mv::docHooks();
    CStation& target = *m_Stations[static_cast<std::size_t>(station)];
    auto tile = std::make_unique<CModuleTile>();
    tile->Create(description, hooks.ProgramDir());
    tile->m_Station = station;
    const int k = target.TileCount();
    const int width = tile->Module().width;
    if (k == 0) {
        tile->m_Slot = 0;
        tile->MoveTo(kRackLeft, kRackTop, width, kRackHeight, true);
    } else {
        // Boards stand at the rack pitch behind the head, whatever their own width.
        const int headWidth = target.Tile(0)->Module().width;
        tile->m_Slot = k - 1;
        tile->MoveTo(kRackLeft + headWidth + (k - 1) * kRackPitch - hooks.HorizontalScroll(),
                     kRackTop, width, kRackHeight, showBoards);
    }
    return target.Append(std::move(tile));
}

bool CMorvelanDoc::ReadStation(int index, int prints, const std::string& path) {
    mv::IDocHooks& hooks = mv::docHooks();
    const CModuleDescriptionList* catalogue = hooks.Catalogue();
    const std::string section = mv::FormatC("M%d", index);
    CStation& station = *m_Stations[static_cast<std::size_t>(index)];
    // Until a head is placed the station has the texts a missing key gives.
    station.m_Name = " ";
    station.m_Comment = " ";
    int running = 0; // running number of the kinds 2 and 6
    for (int j = 0; j < prints; ++j) {
        const std::string tileSection = TileSection(index, j);
        // A missing key reads as one blank, a name like any other; an empty value skips.
        std::string fileName =
            mv::iniReadString(path, tileSection, "Filename", kAbsentKey, kFileNameBuffer);
        if (fileName == kAbsentKey)
            fileName = " ";
        const std::string type = TypeNameOf(fileName);
        if (type.empty())
            continue;
        const int found = catalogue ? catalogue->FindByName(type) : -1;
        if (found < 0) {
            ReportUnknownType(type, path + " [" + tileSection + "]");
            return false;
        }
        const CModuleDescription* description = catalogue->GetAt(found);
        CModuleTile* tile = PlaceTile(index, description, true);
        if (j == 0) {
            // The head: the station's texts, its entry in the tree.
            station.m_Name = ReadStationText(path, section, "Name");
            station.m_Comment = ReadStationText(path, section, "Comment");
            hooks.AddStationToTree(index);
            hooks.RedrawView();
        }
        tile->Module().LoadFromProject(index, j, path);
        tile->LoadLabels(index, j, path);
        if (description->m_Kind == kKindChannel || description->m_Kind == kKindFlagAlt)
            tile->m_OnlineParam = running++;
    }
    return true;
}

bool CMorvelanDoc::CheckProjectFile(const std::string& path, std::vector<int>& prints) {
    mv::IAppHooks& app = mv::appHooks();
    const std::string why = mv::iniUnreadableReason(path);
    if (!why.empty()) {
        app.ShowMessage(mv::ErrorMessage("Cannot open the project file", path + ": " + why));
        return false;
    }
    // A missing file is an empty project; an existing one must have the main section.
    struct stat st {};
    if (::stat(mv::iniResolvePath(path).c_str(), &st) == 0 && !mv::iniHasSection(path, kMain)) {
        app.ShowMessage(mv::ErrorMessage("Not a project file", path + ": no [MAIN] section"));
        return false;
    }
    const int count = mv::iniReadInt(path, kMain, "Module", 0);
    if (count > kMaxStations) {
        app.ShowMessage(mv::ErrorMessage(
            "Damaged project file", mv::FormatC("%s: %d stations", path.c_str(), count)));
        return false;
    }
    prints.clear();
    long total = 0;
    for (int i = 0; i < count; ++i) {
        const int n = std::max(0, mv::iniReadInt(path, mv::FormatC("M%d", i), "Prints", 0));
        total += n;
        if (n > kMaxTilesPerStation || total > kMaxProjectTiles) {
            app.ShowMessage(mv::ErrorMessage(
                "Damaged project file",
                n > kMaxTilesPerStation
                    ? mv::FormatC("%s: %d modules in station %d", path.c_str(), n, i)
                    : mv::FormatC("%s: more than %d modules", path.c_str(), kMaxProjectTiles)));
            return false;
        }
        prints.push_back(n);
    }
    return true;
}

int CMorvelanDoc::OnOpenDocument(const std::string& path) {
    // The description files are named again for every board: check each against the disk once.
    mv::IniReadScope readScope;
    // A damaged description is told once, however many of its tiles the project holds.
    mv::CDescriptionReportScope reportScope;
    // A file that cannot be read as a project leaves the open project as it stands.
    std::vector<int> prints;
    if (!CheckProjectFile(path, prints))
        return 0;
    mv::IDocHooks& hooks = mv::docHooks();
    DeleteContents();
    hooks.InitialUpdateView();
    hooks.SetRackLayout();
    hooks.ClearTree();

    m_Comment = DecodeComment(mv::iniReadString(path, kMain, "Kommentar", "", kTextBuffer));
    m_Date = mv::iniReadString(path, kMain, "Datum", "", kTextBuffer);
    m_Company = mv::iniReadString(path, kMain, "Firma", "", kTextBuffer);
    m_Author = mv::iniReadString(path, kMain, "Autor", "", kTextBuffer);
    m_Name = mv::iniReadString(path, kMain, "Name", "", kTextBuffer);

    for (std::size_t i = 0; i < prints.size(); ++i) {
        AppendStation();
        if (!ReadStation(static_cast<int>(i), prints[i], path)) {
            ForgetFile();
            return 0;
        }
    }
    hooks.RefreshTree();
    return 1;
}

int CMorvelanDoc::WriteProject(const std::string& path) {
    // A value the writer refuses is reported with its section and key; the rest is written.
    int all = 1;
    all &= WriteProfileText(kMain, "INFO", kProjectInfo, path);
    all &= WriteProfileNumber(kMain, "Module", StationCount(), path);
    all &= WriteProfileText(kMain, "Kommentar", EncodeComment(m_Comment), path);
    all &= WriteProfileText(kMain, "Datum", m_Date, path);
    all &= WriteProfileText(kMain, "Firma", m_Company, path);
    all &= WriteProfileText(kMain, "Autor", m_Author, path);
    all &= WriteProfileText(kMain, "Name", m_Name, path);
    for (int i = 0; i < StationCount(); ++i)
        all &= m_Stations[static_cast<std::size_t>(i)]->Write(i, path);
    return all;
}

int CMorvelanDoc::OnSaveDocument(const std::string& path) {
    // The sections are collected in memory under a temporary name beside the target, saved as
    // one file, and that file replaces the target with one rename: the previous project stays
    // whole until the new one is complete. Temporaries that interrupted saves of the same
    // target left are removed on the way.
    const std::string target = mv::iniResolvePath(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ShowLastError(std::string("SAVE ") + kMain);
        return 0;
    }
    std::string staging;
    // The staging file is made on the disk first: a folder that cannot take it fails here,
    // before any work.
    const int fd = mv::iniCreateTemporary(target, staging);
    if (fd < 0) {
        ShowLastError(std::string("SAVE ") + kMain);
        return 0;
    }
    ::close(fd);

    bool written = false;
    {
        mv::IniBatch batch;
        // The sections go into the batch in memory, where only a refused value can fail; that
        // value is reported and left out, and everything else is saved.
        WriteProject(staging);
        written = batch.commit();
        if (!written)
            ShowLastError(std::string("SAVE ") + kMain);
    }
    if (written && std::rename(staging.c_str(), target.c_str()) != 0) {
        ShowLastError(std::string("SAVE ") + kMain);
        written = false;
    }
    const int saved = errno;
    mv::iniRemoveFile(staging);
    errno = saved;
    return written ? 1 : 0;
}

void CMorvelanDoc::ForgetFile() {
    m_PathName.clear();
    m_Title.clear();
}

int CMorvelanDoc::OpenProject(const std::string& path) {
    if (OnOpenDocument(path) != 1)
        return 0;
    mv::IDocHooks& hooks = mv::docHooks();
    hooks.SetUnknownModule(false);
    m_PathName = path;
    m_Title = FileNameOf(path);
    hooks.AddToRecentFileList(path);
    return 1;
}

bool CMorvelanDoc::SaveAllowed() {
    if (!mv::docHooks().UnknownModule())
        return true;
    mv::appHooks().ShowMessage(mv::ErrorMessage("Saving not possible", "Unknown modul in project"));
    return false;
}

int CMorvelanDoc::OnFileSave() {
    if (!SaveAllowed())
        return 0;
    if (m_PathName.empty())
        return OnFileSaveAs();
    return OnSaveDocument(m_PathName);
}

int CMorvelanDoc::OnFileSaveAs() {
    if (!SaveAllowed())
        return 0;
    std::string path = m_PathName;
    if (!mv::docHooks().AskSaveProjectPath(path) || path.empty())
        return 0;
    return SaveAsTo(path);
}

int CMorvelanDoc::SaveAsTo(const std::string& path) {
    if (OnSaveDocument(path) != 1)
        return 0;
    mv::IDocHooks& hooks = mv::docHooks();
    m_Title = FileNameOf(path);
    m_PathName = path;
    hooks.AddToRecentFileList(path);
    hooks.RefreshFrame();
    hooks.UpdateAllViews();
    return 1;
}

std::string CMorvelanDoc::AutosavePath() const {
    return mv::joinPath(mv::docHooks().ProgramDir(), kAutosaveName);
}

void CMorvelanDoc::OnCloseDocument() {
    mv::IDocHooks& hooks = mv::docHooks();
    // A project holding an unknown module is incomplete: writing it would replace the full
    // project kept from before with a part of it.
    if (!hooks.UnknownModule()) {
        if (hooks.LoadLast() == 1)
            OnSaveDocument(AutosavePath());
        if (hooks.MaskName().empty())
            SaveMaskFile();
    }
    DeleteContents();
}
