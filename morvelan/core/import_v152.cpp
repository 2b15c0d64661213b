// Import of a project from the older binary archive format (versions 150 to 152).
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/core/description_problems.h"
#include "morvelan/core/import_v152_archive.h"
#include "catalogue/module_description.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/core/one_line_text.h"
#include "morvelan/core/param_number.h"
#include "platform/ini_file.h"
#include "platform/regular_file.h"
#include "platform/win_path.h"

namespace {

constexpr std::uint32_t kFirstVersion = 150;
constexpr std::uint32_t kLastVersion = 152;
// Archives larger than this are not projects of the older program.
constexpr std::size_t kMaxArchiveBytes = 64u << 20;
// Fewest bytes a station block and a tile block can take.
constexpr std::size_t kStationBlockBytes = 12;
constexpr std::size_t kTileBlockBytes = 14;

// The fields of a tile block up to its module data.
struct TileRecord {
    std::string textA;
    std::string textB;
    std::string fileName;
    std::uint16_t channelCount = 0;
};

bool ReadTileRecord(CArchiveReader& ar, TileRecord& record) {
    std::string unused;
    std::uint16_t u16 = 0;
    return ar.ReadString(record.textA) && ar.ReadString(record.textB) &&
           ar.ReadString(record.fileName) && ar.ReadU16(u16) && ar.ReadString(unused) &&
           ar.ReadString(unused) && ar.ReadString(unused) && ar.ReadU16(u16) &&
           ar.ReadU16(record.channelCount) && ar.ReadU16(u16);
}

// Reads a tile's module data. A tile whose kind has no module object here still has its data
// in the archive; it is read by a stand-in of its kind and dropped, so the blocks after it stay
// in step.
bool ReadModuleData(CModuleTile& tile, int station, int position, int channels,
                    CArchiveReader& ar) {
    bool ok = true;
    const CModuleDescription* description = tile.Description();
    if (tile.IsInert() && description && description->m_Kind == kKindChannel) {
        CChannelModule standIn;
        ok = standIn.Serialize(station, position, channels, ar);
    } else if (tile.IsInert() && description && description->m_Kind == kKindController) {
        CControllerModule standIn;
        ok = standIn.Serialize(station, position, channels, ar);
    } else {
        ok = tile.Module().Serialize(station, position, channels, ar);
    }
    return ok && ar.Ok();
}

} // namespace

int CMorvelanDoc::ImportV152(const std::string& path) {
    // The description files are named again for every board: check each against the disk once.
    mv::IniReadScope readScope;
    mv::CDescriptionReportScope reportScope;
    mv::IDocHooks& hooks = mv::docHooks();
    mv::IAppHooks& app = mv::appHooks();
    DeleteContents();
    hooks.InitialUpdateView();
    hooks.SetRackLayout();

    std::vector<std::uint8_t> bytes;
    if (!mv::readRegularFile(mv::resolvePath(path), kMaxArchiveBytes, bytes)) {
        ForgetFile();
        app.ShowMessage(mv::ErrorMessage("Failed to open document.", path));
        return 0;
    }
    CArchiveReader ar(std::move(bytes));
    hooks.ClearTree();

    const auto damaged = [&]() {
        ForgetFile();
        app.ShowMessage(mv::ErrorMessage("Damaged project archive", path + ": " + ar.Error()));
        hooks.RefreshTree();
        return 0;
    };

    std::uint32_t version = 0;
    if (!ar.ReadU32(version))
        return damaged();
    if (version < kFirstVersion || version > kLastVersion) {
        ForgetFile();
        mv::AppMessage message = mv::ErrorMessage(mv::LanguageText(5019), mv::LanguageText(5018));
        app.ShowMessage(message);
        return 1;
    }
    std::string date, company, author, name, comment;
    std::uint32_t stations = 0;
    if (!ar.ReadString(date) || !ar.ReadString(company) || !ar.ReadString(author) ||
        !ar.ReadString(name) || !ar.ReadString(comment) || !ar.ReadU32(stations))
        return damaged();
    m_Date = mv::OneLineText(date);
    m_Company = mv::OneLineText(company);
    m_Author = mv::OneLineText(author);
    m_Name = mv::OneLineText(name);
    m_Comment = comment;
    if (stations > ar.Remaining() / kStationBlockBytes) {
        ar.Fail(mv::FormatC("station count %u", stations));
        return damaged();
    }

    const CModuleDescriptionList* catalogue = hooks.Catalogue();
    for (std::uint32_t s = 0; s < stations; ++s) {
        const int index = StationCount();
        CStation& station = *AppendStation();
        std::uint32_t tiles = 0;
        std::uint32_t unused = 0;
        if (!ar.ReadU32(tiles) || !ar.ReadU32(unused) || !ar.ReadU32(unused))
            return damaged();
        if (tiles > ar.Remaining() / kTileBlockBytes) {
            ar.Fail(mv::FormatC("tile count %u", tiles));
            return damaged();
        }
        for (std::uint32_t t = 0; t < tiles; ++t) {
            TileRecord record;
            if (!ReadTileRecord(ar, record))
                return damaged();
            if (t == 0) {
                // Position 0's texts are the station's, whether or not a tile stands there.
                station.m_Name = mv::OneLineText(record.textA);
                station.m_Comment = mv::OneLineText(record.textB);
            }
            const std::string type = TypeNameOf(record.fileName);
            if (type.empty())
                continue;
            const int found = catalogue ? catalogue->FindByName(type) : -1;
            if (found < 0) {
                ForgetFile();
                ReportUnknownType(type, path);
                hooks.RefreshTree();
                return 0;
            }
            const bool head = station.TileCount() == 0;
            CModuleTile* tile = PlaceTile(index, catalogue->GetAt(found), false);
            if (head) {
                hooks.AddStationToTree(index);
                hooks.RedrawView();
            }
            if (!ReadModuleData(*tile, index, static_cast<int>(t), record.channelCount, ar))
                return damaged();
        }
    }
    hooks.SetUnknownModule(false);
    hooks.RefreshTree();
    return 1;
}
