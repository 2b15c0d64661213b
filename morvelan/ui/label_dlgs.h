// The label dialogs of a module tile: its three label lines (template 185, in the label's own
// large fonts), and the slider labels of a board (186) and of a controller (192) beside a
// picture of the slider.
#pragma once

#include "xui/xdialog.h"

#include <array>
#include <vector>

class CModuleTile;

namespace morvelan {

// Longest label line and slider label the dialogs store (bytes of the Windows-1252 text).
constexpr std::size_t kLabelLineChars = 23;
constexpr std::size_t kSliderLabelChars = 10;
// The pictures of the slider label dialogs.
constexpr int IDB_SLIDER_BOARD = 193;      // 146 x 288 pixels
constexpr int IDB_SLIDER_CONTROLLER = 191; // 267 x 290 pixels

// Draws and registers the two slider pictures (once).
void RegisterSliderBitmaps();

class CLabelDlg : public xui::CXDialog {
    Q_OBJECT

public:
    explicit CLabelDlg(CModuleTile& tile, QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    CModuleTile& m_Tile;
};

// The slider labels of a tile: the edits and the label each stands for.
class CSliderLabelBaseDlg : public xui::CXDialog {
    Q_OBJECT

public:
    struct Field {
        int editId;
        int slider; // index into the tile's slider labels
    };

protected:
    CSliderLabelBaseDlg(int templateId, int pictureId, std::vector<Field> fields, CModuleTile& tile,
                        QWidget* parent);
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnOK() override;

private:
    CModuleTile& m_Tile;
    int m_PictureId;
    std::vector<Field> m_Fields;
};

class CSliderLabelDlg : public CSliderLabelBaseDlg {
    Q_OBJECT

public:
    explicit CSliderLabelDlg(CModuleTile& tile, QWidget* parent = nullptr);
};

class CControllerSliderLabelDlg : public CSliderLabelBaseDlg {
    Q_OBJECT

public:
    explicit CControllerSliderLabelDlg(CModuleTile& tile, QWidget* parent = nullptr);
};

} // namespace morvelan
