// CPrintPreviewDlg: the pages of a print job one at a time in a page view, with zoom and
// paging, the page count and the job's name.
#pragma once

#include "morvelan/ui/print_dialog_ids.h"
#include "platform/gdi_types.h"
#include "xui/xdialog.h"

namespace morvelan {

class CPageView;
class CPrintSession;

// Zoom steps inwards.
constexpr int kMaxZoom = 3;

class CPrintPreviewDlg : public xui::CXDialog {
    Q_OBJECT

public:
    // mode: 1 project page, 2 project labels, 3 controller labels, 4 module labels.
    CPrintPreviewDlg(CPrintSession& session, int mode, int copies, int paperIndex, int userWidth,
                     int userHeight, QWidget* parent = nullptr);

    CPageView* view() const { return view_; }
    int PageCount() const { return pageCount_; }
    int CurrentPage() const { return currentPage_; }
    int ZoomLevel() const { return zoom_; }

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;

private:
    void ShowPage(int page);
    void Zoom(int level);

    CPrintSession& session_;
    int mode_;
    int copies_;
    int paperIndex_;
    int userWidth_;
    int userHeight_;
    CPageView* view_ = nullptr;
    int pageCount_ = 0;
    int currentPage_ = 1;
    int zoom_ = 0;
    mv::SIZE extent_{};
};

} // namespace morvelan
