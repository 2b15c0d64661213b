#include "morvelan/ui/modul_info_dlg.h"

#include "xui/bitmaps.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace morvelan {

namespace {

using namespace mv;
namespace fs = std::filesystem;

constexpr std::uint32_t kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
constexpr std::uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr std::uint32_t kLabel = WS_CHILD | SS_CENTER;
constexpr std::uint32_t kVertical = 0x1u; // scroll bar style: vertical
constexpr const char* kPictureClass = "MVINFOPICTURE";
constexpr const char* kScrollClass = "ScrollBar";
constexpr int kRightMargin = 7;
constexpr int kPictureMargin = 30;
constexpr int kLineStep = 10;
constexpr int kPageStep = 100;
constexpr float kZoomStep = 0.25f;
// Language texts.
constexpr int kTextCaption = 161;
constexpr int kTextOk = 10000;
constexpr int kTextNext = 46;
constexpr int kTextPrevious = 47;
constexpr int kTextPageLabel = 49;
constexpr int kTextCountLabel = 50;
// The controls that keep to the right edge.
constexpr int kRightControls[] = {IDC_PAGE_COUNT, IDC_COUNT_LABEL, IDC_PAGE_LABEL,
                                  IDC_PAGE_NUMBER, IDOK,           IDC_NEXT_PAGE,
                                  IDC_PREVIOUS_PAGE, IDC_ZOOM_IN,  IDC_ZOOM_OUT};

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

bool SafeTypeName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name.find("..") == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// The page files of a type: names "<type>_*.jpg" (any case) in the info folder.
std::vector<fs::path> PageFiles(const std::string& programDir, const std::string& typeName) {
    std::vector<fs::path> out;
    if (!SafeTypeName(typeName)) {
        return out;
    }
    const std::string prefix = Lower(typeName) + "_";
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(programDir) / "Modul" / "info", ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = Lower(it->path().filename().string());
        if (name.size() >= prefix.size() + 4 && name.compare(0, prefix.size(), prefix) == 0 &&
            name.compare(name.size() - 4, 4, ".jpg") == 0 && it->is_regular_file(ec)) {
            out.push_back(it->path());
        }
    }
    return out;
}

bool registerClasses() {
    xui::registerWindowClass(kPictureClass, [](QWidget* parent, const xui::WindowCreateInfo&) {
        return new CInfoPicture(parent);
    });
    xui::registerWindowClass(kScrollClass, [](QWidget* parent, const xui::WindowCreateInfo& i) {
        return new QScrollBar((i.style & kVertical) != 0 ? Qt::Vertical : Qt::Horizontal,
                              parent);
    });
    return true;
}

} // namespace

int CountInfoPages(const std::string& programDir, const std::string& typeName) {
    return static_cast<int>(PageFiles(programDir, typeName).size());
}

std::string InfoPagePath(const std::string& programDir, const std::string& typeName, int page) {
    char want[32];
    std::snprintf(want, sizeof want, "_%02d.jpg", page);
    const std::string name = Lower(typeName) + want;
    for (const fs::path& p : PageFiles(programDir, typeName)) {
        if (Lower(p.filename().string()) == name) {
            return p.string();
        }
    }
    return {};
}

xui::DialogTemplate modulInfoDlgTemplate() {
    return {IDD_MODUL_INFO,
            "Info",
            "MS Sans Serif",
            8,
            0,
            0,
            506,
            342,
            kDialogStyle,
            {
                {kPictureClass, IDC_INFO_PICTURE, "", 7, 7, 395, 318, WS_CHILD | WS_VISIBLE},
                {kScrollClass, IDC_INFO_VSCROLL, "", 402, 7, 10, 318,
                 WS_CHILD | WS_VISIBLE | kVertical},
                {kScrollClass, IDC_INFO_HSCROLL, "", 7, 325, 395, 10, WS_CHILD | WS_VISIBLE},
                {"Static", IDC_PAGE_LABEL, "aktuelle Seite", 432, 7, 67, 12, kLabel},
                {"Static", IDC_PAGE_NUMBER, "", 432, 22, 67, 12, kLabel},
                {"Static", IDC_COUNT_LABEL, "Anzahl Seiten", 432, 40, 67, 12, kLabel},
                {"Static", IDC_PAGE_COUNT, "", 432, 55, 67, 12, kLabel},
                {"XBUTTON", IDC_NEXT_PAGE, "Next Page", 432, 80, 67, 14, kButton},
                {"XBUTTON", IDC_PREVIOUS_PAGE, "Previous Page", 432, 98, 67, 14, kButton},
                {"XBUTTON", IDC_ZOOM_IN, "Zoom In", 432, 122, 67, 14, kButton},
                {"XBUTTON", IDC_ZOOM_OUT, "Zoom Out", 432, 140, 67, 14, kButton},
                {"XBUTTON", IDOK, "OK", 432, 321, 67, 14, kButton},
            }};
}

CInfoPicture::CInfoPicture(QWidget* parent) : QWidget(parent) {
    xui::setWindowClassName(this, kPictureClass);
}

void CInfoPicture::resizeEvent(QResizeEvent* e) {
    QImage next(e->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    next.fill(Qt::white);
    surface_ = next;
}

void CInfoPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, surface_);
}

CModulInfoDlg::CModulInfoDlg(const std::string& programDir,
                             const CModuleDescriptionList& catalogue,
                             const mv::CLanguage* language, QWidget* parent)
    : xui::CXDialog((static_cast<void>(registerClasses()), IDD_MODUL_INFO), parent),
      programDir_(programDir), catalogue_(catalogue), language_(language) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizeGripEnabled(true);
    for (auto [id, offset] : {std::pair{IDC_INFO_VSCROLL, &vOffset_},
                              std::pair{IDC_INFO_HSCROLL, &hOffset_}}) {
        if (QScrollBar* bar = scrollBar(id)) {
            bar->setSingleStep(kLineStep);
            bar->setPageStep(kPageStep);
            bar->setRange(0, 0);
            int* target = offset;
            connect(bar, &QScrollBar::valueChanged, this,
                    [this, bar, target](int value) { OnScroll(bar, *target, value); });
        }
    }
}

CInfoPicture* CModulInfoDlg::picture() const { return itemAs<CInfoPicture>(IDC_INFO_PICTURE); }

QScrollBar* CModulInfoDlg::scrollBar(int id) const { return itemAs<QScrollBar>(id); }

void CModulInfoDlg::SetNumber(int id, int value) {
    xui::setWindowText(item(id), QString::number(value));
    update();
}

bool CModulInfoDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    if (language_) {
        setWindowTitle(xui::fromCp1252(language_->GetText(kTextCaption)));
        for (auto [id, text] : {std::pair{IDOK, kTextOk}, std::pair{IDC_NEXT_PAGE, kTextNext},
                                std::pair{IDC_PREVIOUS_PAGE, kTextPrevious},
                                std::pair{IDC_PAGE_LABEL, kTextPageLabel},
                                std::pair{IDC_COUNT_LABEL, kTextCountLabel}}) {
            xui::setWindowText(item(id), xui::fromCp1252(language_->GetText(text)));
        }
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    if (!m_TypeName.empty()) {
        // Only a type the catalogue knows has pages.
        const int index = catalogue_.FindByName(m_TypeName);
        const CModuleDescription* desc = index >= 0 ? catalogue_.GetAt(index) : nullptr;
        type_ = desc ? desc->m_Description : std::string();
        pageCount_ = type_.empty() ? 0 : CountInfoPages(programDir_, type_);
        SetNumber(IDC_PAGE_COUNT, pageCount_);
        if (pageCount_ > 0) {
            page_ = 0;
            SetNumber(IDC_PAGE_NUMBER, 1);
        }
    }
    initialised_ = true;
    OnSize(width() - 2 * clientOrigin().x(), height() - clientOrigin().y());
    return true;
}

void CModulInfoDlg::resizeEvent(QResizeEvent* e) {
    xui::CXDialog::resizeEvent(e);
    if (initialised_) {
        OnSize(e->size().width(), e->size().height());
    }
}

void CModulInfoDlg::OnSize(int width, int height) {
    for (int id : kRightControls) {
        if (QWidget* c = item(id)) {
            const RECT r = controlRect(c);
            const int w = r.right - r.left;
            moveControl(c, width - w - kRightMargin, r.top, w, r.bottom - r.top);
        }
    }
    QWidget* ok = item(IDOK);
    CInfoPicture* pic = picture();
    if (!ok || !pic) {
        return;
    }
    const RECT pr = controlRect(pic);
    const int pw = std::max(1, controlRect(ok).left - kPictureMargin);
    const int ph = std::max(1, height - kPictureMargin);
    moveControl(pic, pr.left, pr.top, pw, ph);
    if (QScrollBar* v = scrollBar(IDC_INFO_VSCROLL)) {
        const RECT r = controlRect(v);
        moveControl(v, pr.left + pw, pr.top, r.right - r.left, ph);
        v->setRange(0, std::max(0, kInfoPageHeight - ph));
    }
    if (QScrollBar* h = scrollBar(IDC_INFO_HSCROLL)) {
        const RECT r = controlRect(h);
        moveControl(h, pr.left, pr.top + ph, pw, r.bottom - r.top);
        h->setRange(0, std::max(0, kInfoPageWidth - pw));
    }
    DrawPage(false);
}

void CModulInfoDlg::DrawPage(bool clear) {
    CInfoPicture* pic = picture();
    if (!pic) {
        return;
    }
    QImage& surface = pic->surface();
    if (clear || divisor_ != 1.0f) {
        surface.fill(Qt::white);
    }
    const std::string path = pageCount_ > 0 ? InfoPagePath(programDir_, type_, page_ + 1) : "";
    // Each page file is read once when it becomes the current page, not for every drawing.
    if (path != pagePath_) {
        pagePath_ = path;
        pageImage_ = path.empty() ? QImage() : xui::readPictureFile(path);
    }
    const QImage& page = pageImage_;
    if (!page.isNull()) {
        QPainter p(&surface);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF target(-hOffset_, -vOffset_, page.width() / divisor_,
                            page.height() / divisor_);
        p.drawImage(target, page);
    }
    pic->update();
}

void CModulInfoDlg::OnNextPage() {
    if (page_ + 1 < pageCount_) {
        ++page_;
        SetNumber(IDC_PAGE_NUMBER, page_ + 1);
        DrawPage(true);
    }
}

void CModulInfoDlg::OnPreviousPage() {
    if (page_ - 1 >= 0) {
        --page_;
        SetNumber(IDC_PAGE_NUMBER, page_ + 1);
        DrawPage(true);
    }
}

void CModulInfoDlg::OnZoomIn() {
    if (divisor_ > 1.0f) {
        divisor_ = std::max(1.0f, divisor_ - kZoomStep);
    }
    DrawPage(true);
}

void CModulInfoDlg::OnZoomOut() {
    divisor_ += kZoomStep;
    DrawPage(true);
}

void CModulInfoDlg::OnScroll(QScrollBar* bar, int& offset, int value) {
    offset = std::clamp(value, 0, bar->maximum());
    DrawPage(false);
}

void CModulInfoDlg::OnCommand(int id, int code) {
    switch (id) {
    case IDC_NEXT_PAGE:
        OnNextPage();
        return;
    case IDC_PREVIOUS_PAGE:
        OnPreviousPage();
        return;
    case IDC_ZOOM_IN:
        OnZoomIn();
        return;
    case IDC_ZOOM_OUT:
        OnZoomOut();
        return;
    default:
        xui::CXDialog::OnCommand(id, code);
    }
}

void CModulInfoDlg::OnPaint(mv::Canvas& dc) {
    for (int id : {IDC_PAGE_LABEL, IDC_COUNT_LABEL, IDC_PAGE_NUMBER, IDC_PAGE_COUNT}) {
        PaintStaticBox(dc, item(id), 6, xui::kLabelBoxFill, 0x000000, 0xFFFFFF);
    }
    // The page is drawn with every paint: a window shown without a resize by the window
    // manager gets its picture's image only when it appears, after the first drawing.
    DrawPage(false);
}

} // namespace morvelan
