#include "morvelan/ui/label_dlgs.h"

#include "morvelan/core/module_tile.h"
#include "morvelan/ui/dialog_templates.h"
#include "morvelan/ui/dialog_util.h"
#include "xui/bitmaps.h"
#include "xui/color_sel_edit.h"
#include "xui/font_map.h"

#include <QPainter>

namespace morvelan {
namespace {

constexpr int kLineEdits[] = {IDC_LINE1_EDIT, IDC_LINE2_EDIT, IDC_LINE3_EDIT};
constexpr int kLineLabels[] = {IDC_L1_LABEL, IDC_L2_LABEL, IDC_L3_LABEL};
// The label dialog's fonts: lines 1 and 2, and the large line 3.
constexpr int kSmallLabelFont = -22;
constexpr int kLargeLabelFont = -42;
constexpr int kLabelFontWeight = 800;
// Where the pictures stand in their dialogs (pixels).
constexpr int kPictureX = 7;
constexpr int kPictureY = 7;

// A slider picture: the front of a module with numbered label fields at the given heights.
QImage SliderPicture(int width, int height, const std::vector<int>& fieldTops) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&img);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawRect(0, 0, width - 1, height - 1);
    p.fillRect(4, 4, width - 8, 14, QColor(0x60, 0x90, 0xCF));
    QFont font = xui::screenFont(mv::FontDesc{"Arial", -12, mv::FW_BOLD});
    p.setFont(font);
    int n = 1;
    for (int top : fieldTops) {
        const QRect field(12, top, width - 24, 22);
        p.fillRect(field, Qt::white);
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.drawRect(field);
        // The slider itself: a grey bar with a knob below each field.
        p.fillRect(QRect(width / 2 - 3, top + 26, 6, 10), QColor(0xA0, 0xA0, 0xA0));
        p.drawText(field.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   QString::number(n++));
    }
    return img;
}

} // namespace

void RegisterSliderBitmaps() {
    if (xui::bitmapResource(IDB_SLIDER_BOARD).isNull())
        xui::registerBitmapResource(IDB_SLIDER_BOARD, SliderPicture(146, 288, {38, 119, 200}));
    if (xui::bitmapResource(IDB_SLIDER_CONTROLLER).isNull())
        xui::registerBitmapResource(IDB_SLIDER_CONTROLLER,
                                    SliderPicture(267, 290, {22, 62, 103, 143, 184}));
}

// ---- label (185) ----

CLabelDlg::CLabelDlg(CModuleTile& tile, QWidget* parent)
    : CXDialog(moduleDialogTemplate(IDD_LABEL), parent), m_Tile(tile) {}

bool CLabelDlg::OnInitDialog() {
    for (int i = 0; i < 3; ++i) {
        QWidget* edit = item(kLineEdits[i]);
        if (!edit)
            continue;
        const mv::FontDesc font{"Arial", i < 2 ? kSmallLabelFont : kLargeLabelFont,
                                kLabelFontWeight};
        xui::setControlFont(edit, font);
        edit->setFont(xui::screenFont(font));
        SetItemText(*this, kLineEdits[i], m_Tile.m_Lines[static_cast<std::size_t>(i)]);
    }
    return true;
}

void CLabelDlg::OnPaint(mv::Canvas& dc) {
    for (int id : kLineLabels)
        PaintStaticBox(dc, item(id), kAlignCentre, xui::kLabelBoxFill, 0, kLabelFrame);
}

void CLabelDlg::OnOK() {
    for (int i = 0; i < 3; ++i)
        m_Tile.m_Lines[static_cast<std::size_t>(i)] =
            CutText(ItemText(*this, kLineEdits[i]), kLabelLineChars);
    EndDialog(mv::IDOK);
}

// ---- slider labels (186, 192) ----

CSliderLabelBaseDlg::CSliderLabelBaseDlg(int templateId, int pictureId, std::vector<Field> fields,
                                         CModuleTile& tile, QWidget* parent)
    : CXDialog(moduleDialogTemplate(templateId), parent), m_Tile(tile), m_PictureId(pictureId),
      m_Fields(std::move(fields)) {
    RegisterSliderBitmaps();
}

bool CSliderLabelBaseDlg::OnInitDialog() {
    for (const Field& f : m_Fields) {
        if (auto* e = itemAs<xui::CColorSelEdit>(f.editId))
            e->SetBkColor(kSliderEditColor);
        SetItemText(*this, f.editId, m_Tile.m_Sliders[static_cast<std::size_t>(f.slider)]);
    }
    return true;
}

void CSliderLabelBaseDlg::OnPaint(mv::Canvas& dc) {
    dc.drawBitmap(kPictureX, kPictureY, mv::BitmapRef{m_PictureId});
}

void CSliderLabelBaseDlg::OnOK() {
    for (const Field& f : m_Fields)
        m_Tile.m_Sliders[static_cast<std::size_t>(f.slider)] =
            CutText(ItemText(*this, f.editId), kSliderLabelChars);
    EndDialog(mv::IDOK);
}

CSliderLabelDlg::CSliderLabelDlg(CModuleTile& tile, QWidget* parent)
    : CSliderLabelBaseDlg(IDD_SLIDER_LABEL, IDB_SLIDER_BOARD,
                          {{IDC_LINE1_EDIT, 0}, {IDC_LINE2_EDIT, 1}, {IDC_LINE3_EDIT, 2}}, tile,
                          parent) {}

CControllerSliderLabelDlg::CControllerSliderLabelDlg(CModuleTile& tile, QWidget* parent)
    : CSliderLabelBaseDlg(IDD_CONTROLLER_SLIDER_LABEL, IDB_SLIDER_CONTROLLER,
                          {{IDC_LINE1_EDIT, 0},
                           {IDC_LINE2_EDIT, 1},
                           {IDC_LINE3_EDIT, 2},
                           {IDC_LINE4_EDIT, 3},
                           {IDC_LINE5_EDIT, 4}},
                          tile, parent) {}

} // namespace morvelan
