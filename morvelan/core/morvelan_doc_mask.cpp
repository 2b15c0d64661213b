// The mask file and the comparison of a station with the connected controller.
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/connection.h"
#include "catalogue/module_description.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/core/param_number.h"
#include "platform/ini_file.h"
#include "platform/win_path.h"
#include "portwire/include/Portwire.h"

#include <vector>

std::string CMorvelanDoc::MaskPath(const std::string& name) const {
    if (!name.empty() && name.front() == '/')
        return name;
    return mv::joinPath(mv::docHooks().ProgramDir(), name);
}

int CMorvelanDoc::SaveMaskFile() {
    const std::string name = mv::docHooks().MaskName();
    const std::string path = MaskPath(name.empty() ? kDefaultMaskName : name);
    mv::IniBatch batch;
    std::string first; // the section a failed save of the whole file is reported for
    for (int i = 0; i < StationCount(); ++i) {
        const CStation& station = *Station(i);
        for (int j = 0; j < station.TileCount(); ++j) {
            const CModuleTile& tile = *station.Tile(j);
            const CModuleDescription* description = tile.Description();
            const std::string section = TileSection(i, j);
            if (first.empty())
                first = section;
            if (!WriteProfileNumber(section, "ID", description ? description->m_Id : 0, path))
                return 0;
            const int channels = description ? description->m_ChannelCount : 0;
            for (int k = 0; k < channels; ++k) {
                if (!WriteProfileNumber(section, mv::FormatC("Mask%d", k),
                                        tile.Module().GetChannelMask(k), path))
                    return 0;
            }
        }
    }
    if (!batch.commit()) {
        ShowLastError("SAVE " + first);
        return 0;
    }
    return 1;
}

int CMorvelanDoc::LoadMaskFile(const std::string& name) {
    const std::string path = MaskPath(name);
    if (const std::string why = mv::iniUnreadableReason(path); !why.empty()) {
        mv::appHooks().ShowMessage(
            mv::ErrorMessage("Cannot open the mask file", path + ": " + why));
        return 0;
    }
    for (int i = 0; i < StationCount(); ++i) {
        CStation& station = *Station(i);
        for (int j = 0; j < station.TileCount(); ++j) {
            CModuleTile& tile = *station.Tile(j);
            const CModuleDescription* description = tile.Description();
            const int channels = description ? description->m_ChannelCount : 0;
            const std::uint16_t id = description ? description->m_Id : 0;
            const std::string section = TileSection(i, j);
            // A mask written for another module does not apply: every mask is cleared.
            const bool same = mv::iniReadInt(path, section, "ID", 0) == static_cast<int>(id);
            for (int k = 0; k < channels; ++k) {
                const int mask =
                    same ? mv::iniReadInt(path, section, mv::FormatC("Mask%d", k), -1) : -1;
                tile.Module().SetChannelMask(k, mask);
            }
        }
    }
    return 1;
}

int CMorvelanDoc::LoadDefaultMaskFile() {
    const std::string name = mv::docHooks().MaskName();
    return LoadMaskFile(name.empty() ? kDefaultMaskName : name);
}

int CMorvelanDoc::CheckAgainstController(int stationIndex) {
    const CStation* station = Station(stationIndex);
    std::vector<std::uint16_t> ids;
    if (station) {
        for (int j = 0; j < station->TileCount(); ++j) {
            const CModuleDescription* description = station->Tile(j)->Description();
            if (description && description->m_Id != 0)
                ids.push_back(description->m_Id);
        }
    }
    CControllerConnection* connection = mv::docHooks().Connection();
    if (!connection)
        return -1;
    if (connection->m_Link == 0 && connection->OpenConnectionPlain(0) != 1)
        return -1;
    const LinkHandle link = connection->m_Link;

    const int n = A_GetNumberOfModules(link);
    if (static_cast<int>(ids.size()) != n + 1) {
        connection->CloseConnection();
        return 0;
    }
    std::uint16_t controller = A_GetControllerID(link);
    if (controller == 0) {
        mv::appHooks().ShowMessage(mv::ErrorMessage(mv::FormatC(
            "%s : %d", mv::LanguageText(5000).c_str(), static_cast<int>(A_GetLastError()))));
    }
    if (controller != ids.front())
        return 0;
    for (int k = 0; k < n; ++k) {
        if (A_GetModulID(link, k) != ids[static_cast<std::size_t>(k) + 1])
            return 0;
    }
    return 1;
}
