#include "morvelan/core/morvelan_doc.h"

#include "catalogue/module_description.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/core/connection.h"

#include <algorithm>

namespace mv {

std::string IDocHooks::ProgramDir() {
    return moduleDescriptionContext().programDir;
}

namespace {
IDocHooks*& installedDocHooks() {
    static IDocHooks* hooks = nullptr;
    return hooks;
}
} // namespace

IDocHooks& docHooks() {
    static IDocHooks defaults;
    IDocHooks* hooks = installedDocHooks();
    return hooks ? *hooks : defaults;
}

void setDocHooks(IDocHooks* hooks) {
    installedDocHooks() = hooks;
}

} // namespace mv

CMorvelanDoc::CMorvelanDoc() = default;

CMorvelanDoc::~CMorvelanDoc() = default;

CStation* CMorvelanDoc::Station(int index) const {
    if (index < 0 || index >= StationCount())
        return nullptr;
    return m_Stations[static_cast<std::size_t>(index)].get();
}

CStation* CMorvelanDoc::AppendStation() {
    m_Stations.push_back(std::make_unique<CStation>());
    return m_Stations.back().get();
}

int CMorvelanDoc::StationOf(const CModuleTile* tile) const {
    if (!tile)
        return -1;
    for (std::size_t i = 0; i < m_Stations.size(); ++i) {
        if (m_Stations[i]->IndexOf(tile) >= 0)
            return static_cast<int>(i);
    }
    return -1;
}

void CMorvelanDoc::DeleteContents() {
    m_Stations.clear();
}

int CMorvelanDoc::AddModuleToGroup(std::unique_ptr<CModuleTile> tile) {
    if (!tile)
        return 0;
    int station = -1;
    if (m_Stations.empty() || tile->IsController()) {
        AppendStation();
        station = StationCount() - 1;
    } else {
        // A board joins the station of the selected tile, whichever tile of it is selected;
        // without a selection it joins the last station, so no tile is ever left outside.
        station = StationOf(mv::docHooks().SelectedTile());
        if (station < 0)
            station = StationCount() - 1;
    }
    CStation& target = *m_Stations[static_cast<std::size_t>(station)];
    tile->m_Station = station;
    tile->m_Slot = std::max(0, target.TileCount() - 1);
    target.Append(std::move(tile));
    return 1;
}

CModuleTile* CMorvelanDoc::InsertModuleAt(std::unique_ptr<CModuleTile>& tile, int index) {
    if (!tile || tile->IsController())
        return nullptr;
    const int station = StationOf(mv::docHooks().SelectedTile());
    if (station < 0)
        return nullptr;
    CStation& target = *m_Stations[static_cast<std::size_t>(station)];
    if (index < 1 || index > target.TileCount())
        return nullptr;
    mv::IDocHooks& hooks = mv::docHooks();
    tile->m_Slot = index - 1;
    tile->m_Station = station;
    CModuleTile* inserted = target.Insert(index, std::move(tile));
    const int headWidth = target.Tile(0)->Module().width;
    for (int s = index; s < target.TileCount(); ++s) {
        CModuleTile* t = target.Tile(s);
        t->m_State = 0;
        t->m_Slot += 1;
        t->MoveTo(s * kRackPitch + headWidth - 21 - hooks.HorizontalScroll(),
                  kRackTop - hooks.VerticalScroll(), t->Module().width, kRackHeight, false);
    }
    return inserted;
}

CModuleTile* CMorvelanDoc::RemoveModuleAt(int station, int index,
                                          std::unique_ptr<CModuleTile>* removed) {
    CStation* target = Station(station);
    if (!target || index < 0 || index >= target->TileCount())
        return nullptr;
    mv::IDocHooks& hooks = mv::docHooks();
    const int headWidth = target->Tile(0)->Module().width;
    for (int i = index + 1; i < target->TileCount(); ++i) {
        CModuleTile* t = target->Tile(i);
        t->m_State = 0;
        t->m_Slot -= 1;
        t->MoveTo((i - 1) * kRackPitch + headWidth - 21 - hooks.HorizontalScroll(),
                  kRackTop - hooks.VerticalScroll(), t->cx, t->cy, false);
    }
    std::unique_ptr<CModuleTile> tile = target->Take(index);
    if (removed)
        *removed = std::move(tile);
    if (target->TileCount() == 0)
        return nullptr;
    return target->Tile(std::min(index, target->TileCount() - 1));
}

void CMorvelanDoc::DeleteGroup(int station) {
    if (!Station(station))
        return;
    for (int s = station + 1; s < StationCount(); ++s) {
        CStation& later = *m_Stations[static_cast<std::size_t>(s)];
        for (int j = 0; j < later.TileCount(); ++j)
            later.Tile(j)->m_Station -= 1;
    }
    m_Stations.erase(m_Stations.begin() + station);
}

void CMorvelanDoc::HideAllModules() {
    for (auto& station : m_Stations) {
        for (int j = 0; j < station->TileCount(); ++j) {
            CModuleTile* t = station->Tile(j);
            t->Show(false);
            t->m_State = 0;
        }
    }
}

int CMorvelanDoc::GatherGroupData(int station, std::uint8_t* buffer, int size, int& total) {
    total = 0;
    const CStation* target = Station(station);
    if (!target || !buffer || size <= 0)
        return 0;
    total = target->GatherParameters(buffer, size);
    return total;
}

int CMorvelanDoc::BuildModuleTable(int station, std::uint8_t* buffer, int size, int& length) {
    length = 0;
    const CStation* target = Station(station);
    if (!target || !buffer)
        return 0;
    return target->BuildModuleTable(buffer, size, length);
}

void CMorvelanDoc::DistributeInputs(int station, const std::uint8_t* bytes) {
    CStation* target = Station(station);
    if (target && bytes)
        target->DistributeInputs(bytes, kInputImageBytes);
}
