#include "morvelan/ui/start_dlg.h"

#include "platform/canvas.h"
#include "xui/qt_text.h"

#include <QLabel>

namespace {

using xui::DialogItem;
using xui::DialogTemplate;

const DialogTemplate kStartTemplate{
    IDD_START, "", "MS Sans Serif", 8, 0, 0, 338, 258, mv::WS_POPUP | mv::WS_VISIBLE,
    {
        DialogItem{"Static", IDC_START_PICTURE, "", 2, 2, 333, 246, mv::SS_BITMAP | mv::WS_VISIBLE},
        DialogItem{"Static", IDC_START_TEXT, "", 2, 248, 334, 10, mv::SS_LEFT | mv::WS_VISIBLE},
    }};

const DialogTemplate kStart2Template{
    IDD_START2, "", "MS Sans Serif", 8, 0, 0, 338, 60, mv::WS_POPUP | mv::WS_VISIBLE,
    {
        DialogItem{"Static", IDC_START_PICTURE, "", 3, 0, 332, 49, mv::SS_BITMAP | mv::WS_VISIBLE},
        DialogItem{"Static", IDC_START_TEXT, "", 1, 50, 334, 10, mv::SS_LEFT | mv::WS_VISIBLE},
    }};

} // namespace

const xui::DialogTemplate& startDlgTemplate() { return kStartTemplate; }
const xui::DialogTemplate& start2DlgTemplate() { return kStart2Template; }

void RegisterStartTemplates() { xui::registerDialogTemplates({&kStartTemplate, &kStart2Template}); }

CStartBaseDlg::CStartBaseDlg(const xui::DialogTemplate& tmpl, int pictureId, StartScan scan,
                             QWidget* parent)
    : CXDialog(tmpl, parent), m_PictureId(pictureId), m_Scan(std::move(scan)) {
    // A popup without caption or frame.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    m_Timer.setInterval(kStartTimerMs);
    connect(&m_Timer, &QTimer::timeout, this, [this] { OnTimer(); });
}

std::string CStartBaseDlg::statusText() const {
    const auto* label = qobject_cast<QLabel*>(item(IDC_START_TEXT));
    return label ? xui::toCp1252(label->text()) : std::string();
}

bool CStartBaseDlg::OnInitDialog() {
    m_Timer.start();
    return true;
}

void CStartBaseDlg::OnPaint(mv::Canvas& dc) {
    if (const QWidget* picture = item(IDC_START_PICTURE)) {
        const mv::RECT r = controlRect(picture);
        dc.stretchBitmap(r, mv::BitmapRef{m_PictureId});
    }
    DrawOverPicture(dc);
    m_Painted = true;
}

void CStartBaseDlg::OnTimer() {
    ++m_Ticks;
    if (m_Done || (!m_Painted && m_Ticks < kStartTicksWithoutPaint))
        return;
    m_Done = true;
    m_Timer.stop();
    OnFirstTick();
    repaint();
    auto* label = qobject_cast<QLabel*>(item(IDC_START_TEXT));
    if (m_Scan) {
        m_Scan([this, label](const std::string& fileName) {
            if (label) {
                label->setText(xui::fromCp1252(kReadingFileText + fileName));
                label->repaint();
            }
        });
    }
    EndDialog(mv::IDOK);
}

CStartDlg::CStartDlg(std::string version, StartScan scan, QWidget* parent)
    : CStartBaseDlg(kStartTemplate, IDB_START, std::move(scan), parent),
      m_Version(std::move(version)) {}

void CStartDlg::OnFirstTick() { m_ShowVersion = true; }

void CStartDlg::DrawOverPicture(mv::Canvas& dc) {
    if (!m_ShowVersion)
        return;
    dc.saveState();
    mv::FontDesc font;
    font.face = "Arial";
    font.height = 12;
    font.weight = mv::FW_BOLD;
    dc.selectFont(font);
    dc.setTextColor(0xFFFFFF);
    dc.setBkMode(mv::TRANSPARENT);
    dc.textOut(30, 200, versionText());
    dc.restoreState();
}

CStart2Dlg::CStart2Dlg(StartScan scan, QWidget* parent)
    : CStartBaseDlg(kStart2Template, IDB_START2, std::move(scan), parent) {}
