// Writes PNG pictures of the own controls in each state and of the message dialog into the
// folder given on the command line:  xui_screenshots <folder>
#include "platform/sys_colors.h"
#include "platform/win_styles.h"
#include "xui/bitmaps.h"
#include "xui/color_combo_box.h"
#include "xui/color_sel_edit.h"
#include "xui/color_static.h"
#include "xui/colorref.h"
#include "xui/command.h"
#include "xui/controls.h"
#include "xui/dialog_template.h"
#include "xui/info_list_box.h"
#include "xui/ip_address_ctrl.h"
#include "xui/message_dlg.h"
#include "xui/owner_button.h"
#include "xui/xbutton.h"
#include "xui/xdialog.h"
#include "xui/xgrid_ctrl.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Shot {
    QString label;
    QImage image;
};

class Writer {
public:
    explicit Writer(QString folder) : folder_(std::move(folder)) {}

    void save(const QString& name, const QImage& image) {
        const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
        if (image.isNull() || !image.save(path, "PNG")) {
            std::fprintf(stderr, "xui_screenshots: cannot write %s\n",
                         path.toLocal8Bit().constData());
            ok_ = false;
            return;
        }
        std::printf("%s\n", path.toLocal8Bit().constData());
    }

    // Several pictures side by side in rows, each with its label above it.
    void saveSheet(const QString& name, const std::vector<Shot>& shots, int perRow) {
        constexpr int kPad = 10;
        constexpr int kLabel = 16;
        int cellW = 0;
        int cellH = 0;
        for (const Shot& s : shots) {
            cellW = std::max(cellW, s.image.width());
            cellH = std::max(cellH, s.image.height());
        }
        cellW = std::max(cellW, 110);
        const int rows = (static_cast<int>(shots.size()) + perRow - 1) / perRow;
        QImage sheet(kPad + perRow * (cellW + kPad), kPad + rows * (cellH + kLabel + kPad),
                     QImage::Format_RGB32);
        sheet.fill(xui::toQColor(xui::kDialogBackground));
        QPainter p(&sheet);
        p.setPen(Qt::white);
        for (std::size_t i = 0; i < shots.size(); ++i) {
            const int col = static_cast<int>(i) % perRow;
            const int row = static_cast<int>(i) / perRow;
            const int x = kPad + col * (cellW + kPad);
            const int y = kPad + row * (cellH + kLabel + kPad);
            p.drawText(QRect(x, y, cellW, kLabel), Qt::AlignLeft | Qt::AlignVCenter,
                       shots[i].label);
            p.drawImage(x, y + kLabel, shots[i].image);
        }
        p.end();
        save(name, sheet);
    }

    bool ok() const { return ok_; }

private:
    QString folder_;
    bool ok_ = true;
};

QImage grabOf(QWidget* w) {
    QCoreApplication::processEvents();
    return w->grab().toImage();
}

void press(QWidget* w, QEvent::Type type) {
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void messageDialogs(Writer& out) {
    struct Case {
        const char* name;
        const char* line1;
        const char* line2;
        const char* caption;
        int bitmap;
        int mode;
        mv::COLORREF color;
    };
    const Case cases[] = {
        {"message_error", "Cannot open the port", "COM3", "Error", xui::kBitmapError,
         xui::kMessageOk, xui::kCaptionRed},
        {"message_information", "Parameters saved", "", "Information", xui::kBitmapInformation,
         xui::kMessageOk, xui::kCaptionDarkBlue},
        {"message_question", "Overwrite the station's configuration?", "", "Information",
         xui::kBitmapQuestion, xui::kMessageOkCancel, xui::kCaptionDarkBlue},
    };
    for (const Case& c : cases) {
        xui::CMessageDlg dlg(c.line1, c.line2, c.caption, c.bitmap, c.mode, nullptr, c.color);
        dlg.ShowModeless();
        out.save(QString::fromLatin1(c.name), grabOf(&dlg));
        dlg.hide();
    }
}

void buttons(Writer& out, QWidget& surface) {
    std::vector<Shot> shots;
    const auto make = [&surface](const QString& text) {
        auto* b = new xui::CXButton(&surface, text);
        b->setGeometry(10, 10, 96, 24);
        b->show();
        return b;
    };
    auto* sink = new QWidget(&surface);
    sink->setGeometry(200, 200, 10, 10);
    sink->setFocusPolicy(Qt::StrongFocus);
    sink->show();

    auto* normal = make(QStringLiteral("OK"));
    sink->setFocus();
    shots.push_back({QStringLiteral("normal"), grabOf(normal)});
    normal->setFocus();
    shots.push_back({QStringLiteral("focused"), grabOf(normal)});
    press(normal, QEvent::MouseButtonPress);
    shots.push_back({QStringLiteral("pressed"), grabOf(normal)});
    press(normal, QEvent::MouseButtonRelease);
    delete normal;

    auto* disabled = make(QStringLiteral("Cancel"));
    disabled->setEnabled(false);
    sink->setFocus();
    shots.push_back({QStringLiteral("disabled"), grabOf(disabled)});
    delete disabled;

    auto* toggle = make(QStringLiteral("Toggle"));
    toggle->SetToggle();
    press(toggle, QEvent::MouseButtonPress);
    press(toggle, QEvent::MouseButtonRelease);
    sink->setFocus();
    shots.push_back({QStringLiteral("toggle latched"), grabOf(toggle)});
    delete toggle;

    auto* green = make(QStringLiteral("Save"));
    green->SetColors(0xFFFFFF, 0x00FF00);
    auto* red = make(QStringLiteral("Clear"));
    red->SetColors(0xFFFFFF, 0x0000FF);
    sink->setFocus();
    shots.push_back({QStringLiteral("green"), grabOf(green)});
    shots.push_back({QStringLiteral("red"), grabOf(red)});
    delete green;
    delete red;

    auto* tab = new xui::COwnerButton(&surface, 10000, "Analog inputs block");
    tab->setGeometry(10, 10, 100, 24);
    tab->show();
    sink->setFocus();
    shots.push_back({QStringLiteral("owner normal"), grabOf(tab)});
    tab->SetLatching();
    tab->Press();
    sink->setFocus();
    shots.push_back({QStringLiteral("owner latched"), grabOf(tab)});
    delete tab;

    out.saveSheet(QStringLiteral("buttons"), shots, 3);
}

// The controls as the dialogs get them: built from a template, so they carry the dialog font
// and the template's geometry (a combo box's rectangle includes its dropped list).
enum ShotId { kGrid = 100, kEdit, kEditFocused, kStatic, kCombo, kIp, kInfoList, kFocusSink };

const xui::DialogTemplate& controlsTemplate() {
    using namespace mv;
    constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
    static const xui::DialogTemplate t{
        9000,
        "Controls",
        "MS Sans Serif",
        8,
        0,
        0,
        300,
        300,
        WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
        {
            {"XGRID", kGrid, "", 7, 7, 280, 126, kChild | WS_TABSTOP},
            {"CColorSelEdit", kEdit, "1Fh", 7, 140, 66, 12, kChild | WS_TABSTOP},
            {"CColorSelEdit", kEditFocused, "502", 80, 140, 66, 12, kChild | WS_TABSTOP},
            {"CColorStatic", kStatic, "Min :", 153, 140, 66, 10, kChild},
            {"CColorComboBox", kCombo, "", 7, 160, 106, 60,
             kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST},
            {"SysIPAddress32", kIp, "", 120, 160, 64, 12, kChild | WS_TABSTOP},
            {"CInfoListBox", kInfoList, "", 7, 200, 146, 72, kChild | WS_VSCROLL | WS_TABSTOP},
            {"Button", kFocusSink, "", 290, 290, 4, 4, kChild | WS_TABSTOP},
        },
    };
    return t;
}

void grid(Writer& out, xui::CXDialog& dlg) {
    auto* g = dlg.itemAs<xui::XGridCtrl>(kGrid);
    if (g == nullptr) {
        std::fprintf(stderr, "xui_screenshots: the template made no grid\n");
        return;
    }
    g->SetColumnCount(3);
    g->SetRowCount(40);
    g->SetColumnWidth(0, 60);
    g->SetColumnWidth(1, 180);
    g->SetColumnWidth(2, g->width() - 240 - g->GetClientWidth() - 2);
    g->SetAllRowColors(0xFF0000);
    g->SetHeaderColor(0xFBCCA3);
    g->SetHeaderTextColor(0);
    g->SetSelectionMode(xui::XGridCtrl::kSelectRow);
    g->SetCellAlignment(xui::XGridCtrl::kAlignLeft);
    g->SetCellText(0, 0, "No.");
    g->SetCellText(1, 0, "Name");
    g->SetCellText(2, 0, "Value");
    for (int r = 1; r < 40; ++r) {
        g->SetCellText(0, r, std::to_string(r) + ":");
        g->SetCellText(1, r, "Parameter " + std::to_string(r));
        g->SetCellText(2, r, std::to_string(r * 17) + "H");
    }
    // Rows 3 to 5 of the value column as one merged cell: its text in the first, the others
    // blank and flagged, so their fill covers the lines between them.
    g->SetCellText(2, 3, "Bit string");
    for (int r = 3; r <= 5; ++r) {
        g->SetCellFlag(1, r, 1);
        g->SetCellFlag(2, r, 1);
    }
    g->SetCellText(2, 4, "");
    g->SetCellText(2, 5, "");
    out.save(QStringLiteral("grid_top"), grabOf(g));
    g->OnVScroll(xui::XGridCtrl::ScrollRequest::PageDown);
    const QPointF pos(100, 3 * g->rowHeight() + 5);
    QMouseEvent click(QEvent::MouseButtonPress, pos, g->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(g, &click);
    out.save(QStringLiteral("grid_scrolled_selected"), grabOf(g));
    g->SetSelectionMode(xui::XGridCtrl::kSelectCell);
    out.save(QStringLiteral("grid_cell_selected"), grabOf(g));
}

void controls(Writer& out, xui::CXDialog& dlg) {
    std::vector<Shot> shots;
    QWidget* sink = dlg.item(kFocusSink);
    QWidget* edit = dlg.item(kEdit);
    if (sink == nullptr || edit == nullptr) {
        std::fprintf(stderr, "xui_screenshots: the template made no edits\n");
        return;
    }
    sink->setFocus();
    shots.push_back({QStringLiteral("edit"), grabOf(edit)});
    edit->setFocus();
    shots.push_back({QStringLiteral("edit focused"), grabOf(edit)});
    sink->setFocus();

    if (auto* label = dlg.itemAs<xui::CColorStatic>(kStatic)) {
        label->SetBkColor(xui::kDialogBackground);
        label->SetTextColor(0xFFFFFF);
        label->show();
        shots.push_back({QStringLiteral("static"), grabOf(label)});
    }
    if (auto* combo = dlg.itemAs<xui::CColorComboBox>(kCombo)) {
        combo->addItems({QStringLiteral("Off"), QStringLiteral("On")});
        shots.push_back({QStringLiteral("combo box"), grabOf(combo)});
    }
    if (auto* ip = dlg.itemAs<xui::CIpAddressCtrl>(kIp)) {
        ip->SetAddress(0xC0A8FFC8u);
        shots.push_back({QStringLiteral("IP address"), grabOf(ip)});
    }
    if (auto* list = dlg.itemAs<xui::CInfoListBox>(kInfoList)) {
        for (const char* line : {"VERSION", "CPU: 2.14", "FPGA: No FPGA Info", "BOARD 1",
                                 "Power: 1.03", "Fieldbus: No Fieldbus Info"}) {
            list->AddLine(line);
        }
        shots.push_back({QStringLiteral("info list"), grabOf(list)});
    }
    out.saveSheet(QStringLiteral("controls"), shots, 3);
    out.save(QStringLiteral("controls_dialog"), grabOf(&dlg));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: xui_screenshots <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "xui_screenshots: cannot create %s\n", argv[1]);
        return 1;
    }
    xui::RegisterControlClasses();
    Writer out(folder);

    QWidget surface;
    surface.resize(480, 300);
    QPalette pal = surface.palette();
    pal.setColor(QPalette::Window, xui::toQColor(xui::kDialogBackground));
    surface.setPalette(pal);
    surface.setAutoFillBackground(true);
    surface.show();
    surface.activateWindow();
    QApplication::setActiveWindow(&surface);

    buttons(out, surface);
    xui::CXDialog dlg(controlsTemplate());
    dlg.ShowModeless();
    grid(out, dlg);
    controls(out, dlg);
    dlg.hide();
    messageDialogs(out);
    return out.ok() ? 0 : 1;
}
