// The model of one module tile: the unit through which the rest of the program reaches a board
// of a station. It owns the module object, points at the board's catalogue entry, keeps the
// label lines and the tile's place in the rack. The tile window of the workspace shows it.
#pragma once

#include "morvelan/core/module.h"
#include "morvelan/core/tile_window.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CModuleDescription;
class CControllerConnection;


// Display modes of a tile.
constexpr int kTileRack = 1;
constexpr int kTileList = 2;

// Longest label line and slider label kept from a project file.
constexpr std::size_t kLabelChars = 23;
constexpr std::size_t kSliderChars = 11;

// Rack geometry in pixels of the main view.
constexpr int kRackTop = 150;
constexpr int kRackHeight = 300;
constexpr int kRackLeft = 20;
constexpr int kRackPitch = 41;

class CModuleTile {
public:
    CModuleTile();
    ~CModuleTile();
    CModuleTile(const CModuleTile&) = delete;
    CModuleTile& operator=(const CModuleTile&) = delete;

    // Makes the module object for the description (null: none) and lets it read its
    // description file below the program folder. A description that is missing, of another
    // protocol than 1 or of a kind without a class gives an inert module of width 41, so every
    // module operation can still be called.
    void Create(const CModuleDescription* description, const std::string& programDir);

    // 1 for the head kinds (description kinds 1 and 5).
    int IsController() const;
    // Flag 1: online, highlight off, the module's next live drawing starts afresh.
    void SetOnline(int flag);
    // A repaint that erases makes an online module draw its static parts again.
    void Refresh(int erase);
    // id: the description's module ID (0 without description); size: the module's data size.
    void GetInfo(std::uint16_t& id, std::uint16_t& size) const;
    // Opens the connection without dialogs, then the module's online dialog. 0 when the
    // connection could not be opened.
    int OpenOnline(CControllerConnection& connection);

    // Label lines of section "M<station>P<position>" of a project file.
    void LoadLabels(int station, int position, const std::string& projectFile);
    // Writes the labels, the description's file name and the module's own data. A label that
    // cannot be written is reported and the writing goes on; 0 when there was one.
    int SaveLabels(int station, int position, const std::string& projectFile);

    // What the module's label printing is handed.
    LabelContext Labels() const;
    // The module's label printing and its line of the project list, handed the description
    // (and the tile). Nothing is printed for a tile without description.
    int PrintLabel(mv::Canvas& dc, int unused, int& y, const LabelContext& label);
    void DrawTexts(mv::Canvas& dc, int x, int& y, int pageLimit);

    // Places the tile in the rack view.
    void MoveTo(int left, int top, int w, int h, bool show);
    // Shows or hides the tile in the rack view.
    void Show(bool show);
    // The window that shows the tile; null when the application made none (tests, no display).
    mv::ITileWindow* Window() const { return m_Window.get(); }

    CModule& Module() { return *m_Module; }
    const CModule& Module() const { return *m_Module; }
    // True when the module object is the inert stand-in.
    bool IsInert() const { return m_Inert; }
    const CModuleDescription* Description() const { return m_Description; }

    int m_DisplayMode = kTileRack;
    int m_Kind = 0;            // 1 for heads, else the description's kind
    int m_Highlight = 0;
    int m_Station = 0;         // index of the tile's station in the document
    int m_Slot = 0;            // board position: 0 for the head and the first board
    std::string m_ListLabel;
    int m_ListNumber = 0;
    int m_ListRow = 0;
    int m_OnlineParam = -1;    // running number of kinds 2 and 6, handed to the online dialog
    int m_OnlinePaintMark = 0;
    int m_Online = 0;
    int m_State = 0;           // state word, reset whenever the tile is moved in the rack
    std::array<std::string, 6> m_Sliders;
    std::array<std::string, 3> m_Lines;

    // Place in the rack view.
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    bool visible = false;

private:
    std::unique_ptr<CModule> m_Module;
    const CModuleDescription* m_Description = nullptr;
    bool m_Inert = true;
    // Declared last: destroyed before the module it shows.
    std::unique_ptr<mv::ITileWindow> m_Window;
};

// Installs the classes of the kinds 3 to 8 in the module factory (done by Create; idempotent).
void RegisterBoardModuleKinds();
