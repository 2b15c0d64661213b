// The module information pages: the pictures of a module type's data sheet, one JPEG file a
// page below the program folder ("Modul/info/<type>_NN.jpg"), with paging, zoom and scrolling.
#pragma once

#include "catalogue/module_description.h"
#include "morvelan/core/language.h"
#include "xui/xdialog.h"

#include <QImage>

#include <string>

class QScrollBar;

namespace morvelan {

constexpr int IDD_MODUL_INFO = 178;
constexpr int IDC_INFO_PICTURE = 1129;
constexpr int IDC_INFO_VSCROLL = 1130;
constexpr int IDC_INFO_HSCROLL = 1131;
constexpr int IDC_ZOOM_IN = 1079;
constexpr int IDC_ZOOM_OUT = 1080;
constexpr int IDC_NEXT_PAGE = 1081;
constexpr int IDC_PREVIOUS_PAGE = 1082;
constexpr int IDC_PAGE_LABEL = 1077;
constexpr int IDC_PAGE_NUMBER = 1078;
constexpr int IDC_COUNT_LABEL = 1064;
constexpr int IDC_PAGE_COUNT = 1065;
// The page area the scroll ranges are made for, in pixels.
constexpr int kInfoPageHeight = 1449;
constexpr int kInfoPageWidth = 1024;

xui::DialogTemplate modulInfoDlgTemplate();

// The picture control: keeps its own image, which the dialog draws pages into.
class CInfoPicture : public QWidget {
    Q_OBJECT

public:
    explicit CInfoPicture(QWidget* parent = nullptr);
    QImage& surface() { return surface_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QImage surface_;
};

// The number of page files of a type in a program folder ("<type>_*.jpg" below Modul/info,
// names compared without regard to case); 0 for a name that could leave the folder.
int CountInfoPages(const std::string& programDir, const std::string& typeName);
// The file of a page (1-based); empty when there is none.
std::string InfoPagePath(const std::string& programDir, const std::string& typeName, int page);

class CModulInfoDlg : public xui::CXDialog {
    Q_OBJECT

public:
    CModulInfoDlg(const std::string& programDir, const CModuleDescriptionList& catalogue,
                  const mv::CLanguage* language, QWidget* parent = nullptr);

    // Set before DoModal.
    std::string m_TypeName;

    int pageCount() const { return pageCount_; }
    int currentPage() const { return page_; }
    float zoomDivisor() const { return divisor_; }
    int verticalOffset() const { return vOffset_; }
    int horizontalOffset() const { return hOffset_; }
    CInfoPicture* picture() const;
    QScrollBar* scrollBar(int id) const;

    void OnNextPage();
    void OnPreviousPage();
    void OnZoomIn();
    void OnZoomOut();
    // Lays the controls out for a client size.
    void OnSize(int width, int height);
    // Draws the current page into the picture.
    void DrawPage(bool clear);

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnCommand(int id, int code) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void SetNumber(int id, int value);
    void OnScroll(QScrollBar* bar, int& offset, int value);

    std::string programDir_;
    const CModuleDescriptionList& catalogue_;
    const mv::CLanguage* language_;
    std::string type_;
    float divisor_ = 1.0f;
    int vOffset_ = 0;
    int hOffset_ = 0;
    int page_ = 0;
    int pageCount_ = 0;
    bool initialised_ = false;
    // The current page's file and its picture.
    std::string pagePath_;
    QImage pageImage_;
};

} // namespace morvelan
