#include "morvelan/core/module_tile.h"

#include "morvelan/core/app_hooks.h"
#include "morvelan/core/app_profile.h"
#include "morvelan/core/bitmap_module.h"
#include "morvelan/core/connection.h"
#include "morvelan/core/flag_module.h"
#include "catalogue/module_description.h"
#include "morvelan/core/module_factory.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/core/param_module.h"
#include "platform/ini_file.h"
#include "platform/win_path.h"

#include <mutex>

namespace {

template <class T> std::unique_ptr<CModule> Make() {
    return std::make_unique<T>();
}

} // namespace

void RegisterBoardModuleKinds() {
    static std::once_flag once;
    std::call_once(once, [] {
        SetModuleCreator(kKindFlag, &Make<CFlagModule>);
        SetModuleCreator(kKindFlagAlt, &Make<CFlagModule>);
        SetModuleCreator(kKindParam, &Make<CParamModule>);
        SetModuleCreator(kKindBitmap, &Make<CBitmapModule>);
        SetModuleCreator(kKindFlag2, &Make<CFlagModule2>);
        SetModuleCreator(kKindFlag3, &Make<CFlagModule3>);
    });
}

CModuleTile::CModuleTile() : m_Module(std::make_unique<CModule>()) {
    m_Module->width = kBoardWidth;
    m_Sliders.fill(" ");
    m_Lines.fill(" ");
}

CModuleTile::~CModuleTile() {
    // The window goes first: it may still look at the tile while it is taken down.
    m_Window.reset();
}

void CModuleTile::Create(const CModuleDescription* description, const std::string& programDir) {
    RegisterBoardModuleKinds();
    m_Description = description;
    std::unique_ptr<CModule> module;
    int tileKind = 0;
    if (description) {
        module = CreateModule(description->m_ProtocolId, description->m_Kind, &tileKind);
    }
    m_Kind = tileKind;
    if (module) {
        m_Module = std::move(module);
        m_Inert = false;
        m_Module->LoadDescription(
            mv::joinPath(mv::joinPath(programDir, "Modul"), description->m_FileName));
    } else {
        m_Module = std::make_unique<CModule>();
        m_Module->width = kBoardWidth;
        m_Inert = true;
    }
    if (!m_Window)
        m_Window = mv::docHooks().CreateTileWindow(*this);
}

int CModuleTile::IsController() const {
    return m_Description &&
           (m_Description->m_Kind == kKindController || m_Description->m_Kind == kKindBitmap);
}

void CModuleTile::SetOnline(int flag) {
    if (flag == 1) {
        m_Highlight = 0;
        m_Online = 1;
        m_Module->drawState = kDrawStateReset;
    } else {
        m_Online = 0;
    }
}

void CModuleTile::Refresh(int erase) {
    if (erase == 1 && m_Online == 1) {
        m_Module->drawState = kDrawStateReset;
    }
    if (m_Window)
        m_Window->Invalidate(erase);
}

void CModuleTile::GetInfo(std::uint16_t& id, std::uint16_t& size) const {
    size = m_Module->GetDataSize();
    id = m_Description ? m_Description->m_Id : 0;
}

int CModuleTile::OpenOnline(CControllerConnection& connection) {
    if (connection.OpenConnectionPlain(0) == 0) {
        return 0;
    }
    return m_Module->OpenOnline(m_Description, m_Station, m_Slot, m_OnlineParam);
}

namespace {
// A label written empty stands in the file as one blank; it reads back as that blank.
std::string BlankIfEmpty(std::string text) {
    return text.empty() ? std::string(" ") : text;
}
} // namespace

void CModuleTile::LoadLabels(int station, int position, const std::string& projectFile) {
    const std::string section = TileSection(station, position);
    for (std::size_t i = 0; i < m_Lines.size(); ++i) {
        m_Lines[i] = BlankIfEmpty(mv::iniReadString(
            projectFile, section, "ETKL" + std::to_string(i + 1), " ", kLabelChars + 1));
    }
    for (std::size_t i = 0; i < m_Sliders.size(); ++i) {
        m_Sliders[i] = BlankIfEmpty(mv::iniReadString(
            projectFile, section, "SCHIEBERL" + std::to_string(i + 1), " ", kSliderChars + 1));
    }
}

int CModuleTile::SaveLabels(int station, int position, const std::string& projectFile) {
    const std::string section = TileSection(station, position);
    int all = 1;
    for (std::size_t i = 0; i < m_Lines.size(); ++i)
        all &= WriteProfileText(section, "ETKL" + std::to_string(i + 1), m_Lines[i], projectFile);
    for (std::size_t i = 0; i < m_Sliders.size(); ++i)
        all &= WriteProfileText(section, "SCHIEBERL" + std::to_string(i + 1), m_Sliders[i],
                                projectFile);
    if (m_Description) {
        m_Description->WriteParameterFileName(station, position, projectFile);
    }
    m_Module->SaveToProject(station, position, projectFile);
    return all;
}

LabelContext CModuleTile::Labels() const {
    LabelContext label;
    label.tile = const_cast<CModuleTile*>(this);
    label.lines = m_Lines;
    label.sliders = m_Sliders;
    return label;
}

int CModuleTile::PrintLabel(mv::Canvas& dc, int unused, int& y, const LabelContext& label) {
    if (!m_Description)
        return 0;
    LabelContext context = label;
    context.tile = this;
    return m_Module->PrintLabel(dc, unused, y, *m_Description, context);
}

void CModuleTile::DrawTexts(mv::Canvas& dc, int x, int& y, int pageLimit) {
    if (m_Description)
        m_Module->PrintListLine(dc, x, y, pageLimit, *m_Description);
}

void CModuleTile::MoveTo(int left, int top, int w, int h, bool show) {
    x = left;
    y = top;
    cx = w;
    cy = h;
    visible = show;
    if (m_Window)
        m_Window->Placed();
}

void CModuleTile::Show(bool show) {
    if (visible == show)
        return;
    visible = show;
    if (m_Window)
        m_Window->Placed();
}
