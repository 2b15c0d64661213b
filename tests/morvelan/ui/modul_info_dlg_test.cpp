// The module information pages over page files made here: counting, paging, zoom, scrolling,
// the pixels of the picture and the places of the controls after a resize.
#include "tests/morvelan/ui/frame_fixture.h"

#include "morvelan/ui/modul_info_dlg.h"
#include "xui/window_class.h"

#include <QScrollBar>

namespace {

using frametest::FrameTest;
namespace fs = std::filesystem;

void WritePage(const std::string& path, int w, int h, Qt::GlobalColor color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "JPEG", 100));
}

bool Near(QRgb pixel, QColor want) {
    return std::abs(qRed(pixel) - want.red()) < 40 && std::abs(qGreen(pixel) - want.green()) < 40 &&
           std::abs(qBlue(pixel) - want.blue()) < 40;
}

TEST_F(FrameTest, ModuleInformationPagesZoomAndScroll) {
    ASSERT_TRUE(start());
    const std::string info = prog_ + "/Modul/info";
    fs::remove_all(info);
    fs::create_directories(info);
    WritePage(info + "/A3104_01.jpg", 300, 400, Qt::red);
    WritePage(info + "/a3104_02.JPG", 200, 200, Qt::green);
    WritePage(info + "/A3104_03.jpg", 500, 1600, Qt::blue);
    WritePage(root_ + "/Outside_01.jpg", 10, 10, Qt::red);

    const CModuleDescriptionList& catalogue = app_->m_Catalogue;
    EXPECT_EQ(morvelan::CountInfoPages(prog_, "A3104"), 3);
    EXPECT_EQ(morvelan::CountInfoPages(prog_, "A3204"), 0);
    EXPECT_EQ(morvelan::CountInfoPages(prog_, "../../Outside"), 0);
    EXPECT_EQ(morvelan::CountInfoPages(prog_, "..\\Outside"), 0);

    for (const char* type : {"Nope", "A3204", ""}) {
        morvelan::CModulInfoDlg none(prog_, catalogue, &app_->m_Language);
        none.m_TypeName = type;
        none.ShowModeless();
        EXPECT_EQ(none.pageCount(), 0) << type;
        none.OnNextPage();
        none.OnPreviousPage();
        EXPECT_EQ(none.currentPage(), 0);
        EXPECT_TRUE(Near(none.picture()->surface().pixel(5, 5), Qt::white));
        none.EndDialog(mv::IDOK);
    }

    morvelan::CModulInfoDlg dlg(prog_, catalogue, &app_->m_Language);
    dlg.m_TypeName = "A3104";
    dlg.ShowModeless();
    dlg.setWindowState(Qt::WindowNoState);
    dlg.resize(1000, 700);
    QApplication::processEvents();
    dlg.OnSize(1000, 700);
    const QImage* surface = &dlg.picture()->surface();
    EXPECT_EQ(dlg.pageCount(), 3);
    EXPECT_EQ(xui::windowText(dlg.item(morvelan::IDC_PAGE_COUNT)), "3");
    EXPECT_EQ(xui::windowText(dlg.item(morvelan::IDC_PAGE_NUMBER)), "1");
    EXPECT_TRUE(Near(surface->pixel(10, 10), Qt::red));

    // Places after the resize.
    for (int id : {morvelan::IDC_PAGE_COUNT, morvelan::IDC_PAGE_NUMBER, mv::IDOK,
                   morvelan::IDC_ZOOM_OUT}) {
        const mv::RECT r = dlg.controlRect(dlg.item(id));
        EXPECT_EQ(r.right, 1000 - 7) << id;
    }
    const int okLeft = dlg.controlRect(dlg.item(mv::IDOK)).left;
    const mv::RECT pic = dlg.controlRect(dlg.picture());
    EXPECT_EQ(pic.right - pic.left, okLeft - 30);
    EXPECT_EQ(pic.bottom - pic.top, 670);
    QScrollBar* v = dlg.scrollBar(morvelan::IDC_INFO_VSCROLL);
    QScrollBar* h = dlg.scrollBar(morvelan::IDC_INFO_HSCROLL);
    EXPECT_EQ(v->maximum(), 1449 - 670);
    EXPECT_EQ(h->maximum(), std::max(0, 1024 - (okLeft - 30)));
    EXPECT_EQ(dlg.controlRect(v).left, pic.right);
    EXPECT_EQ(dlg.controlRect(h).top, pic.bottom);

    // Paging: limits, labels, and no trace of the bigger page before.
    dlg.OnPreviousPage();
    EXPECT_EQ(dlg.currentPage(), 0);
    dlg.OnNextPage();
    surface = &dlg.picture()->surface();
    EXPECT_EQ(xui::windowText(dlg.item(morvelan::IDC_PAGE_NUMBER)), "2");
    EXPECT_TRUE(Near(surface->pixel(10, 10), Qt::green));
    EXPECT_TRUE(Near(surface->pixel(250, 300), Qt::white));
    dlg.OnNextPage();
    dlg.OnNextPage();
    EXPECT_EQ(dlg.currentPage(), 2);
    EXPECT_EQ(xui::windowText(dlg.item(morvelan::IDC_PAGE_NUMBER)), "3");

    // Zoom: never below 1.0, no upper bound; four steps out give half size.
    dlg.OnZoomIn();
    EXPECT_FLOAT_EQ(dlg.zoomDivisor(), 1.0f);
    for (int i = 0; i < 4; ++i)
        dlg.OnZoomOut();
    EXPECT_FLOAT_EQ(dlg.zoomDivisor(), 2.0f);
    EXPECT_TRUE(Near(surface->pixel(240, 10), Qt::blue));
    EXPECT_TRUE(Near(surface->pixel(262, 10), Qt::white));
    dlg.OnZoomIn();
    EXPECT_FLOAT_EQ(dlg.zoomDivisor(), 1.75f);
    dlg.OnZoomOut();

    // Scrolling: the page moves up and left as the bars move on, within their ranges.
    h->setValue(20);
    EXPECT_EQ(dlg.horizontalOffset(), std::min(20, h->maximum()));
    dlg.OnZoomOut();
    dlg.OnZoomIn();
    if (h->maximum() >= 20) {
        EXPECT_TRUE(Near(surface->pixel(225, 10), Qt::blue));
        EXPECT_TRUE(Near(surface->pixel(238, 10), Qt::white));
    }
    v->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(dlg.verticalOffset(), 100);
    v->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(dlg.verticalOffset(), 90);
    v->setValue(100000);
    EXPECT_EQ(dlg.verticalOffset(), v->maximum());
    v->setValue(-5);
    EXPECT_EQ(dlg.verticalOffset(), 0);
    dlg.EndDialog(mv::IDOK);

    // A picture frame taller than the page area gets an empty range.
    morvelan::CModulInfoDlg tall(prog_, catalogue, nullptr);
    tall.m_TypeName = "A3104";
    tall.ShowModeless();
    tall.OnSize(1000, 1600);
    EXPECT_EQ(tall.scrollBar(morvelan::IDC_INFO_VSCROLL)->maximum(), 0);
    tall.EndDialog(mv::IDOK);
}

} // namespace
