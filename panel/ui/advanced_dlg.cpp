#include "panel/ui/advanced_dlg.h"

#include "panel/ui/panel_clock.h"
#include "panel/ui/panel_templates.h"
#include "panel/ui/prompts.h"
#include "platform/settings_store.h"
#include "xui/colorref.h"
#include "xui/command.h"
#include "xui/qt_text.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace x740panel {
namespace {

constexpr const char* kIdProperty = "mvControlId";

struct MenuItem {
    int id; // 0: separator
    const char* text;
};

struct MenuSpec {
    const char* title;
    std::vector<MenuItem> items;
};

const std::vector<MenuSpec>& MenuTable() {
    static const std::vector<MenuSpec> table = {
        {"System",
         {{kCmdStatus, "Status"},
          {kCmdModuleConfig, "Modulkonfiguration"},
          {kCmdSystemInfo, "Systeminfo"},
          {kCmdModuleIds, "Modul IDs"},
          {kCmdProtocolId, "Protokoll ID"},
          {kCmdControllerId, "Controller ID"},
          {kCmdInputs, "Inputs"},
          {kCmdMainService, "Main Service"},
          {kCmdSerialService, "Serial Service"},
          {0, ""},
          {kCmdIpConfig, "IP-Konfiguration schreiben"},
          {kCmdClearConfig, "Konfiguration l\xF6schen"},
          {kCmdReset, "Reset"},
          {0, ""},
          {kCmdStartFtpServer, "Start FTP-Server"},
          {kCmdFtpClient, "FTP-Client"}}},
        {"SSI",
         {{kCmdSsiFromModule, "Konfiguration vom Modul laden"},
          {kCmdSsiToModule, "Konfiguration  in Modul schreiben"},
          {0, ""},
          {kCmdSsiSetup, "Inbetriebnahme lesen"},
          {kCmdSsiOffset, "Geberoffset lesen"},
          {kCmdSsiOffsetWrite, "Offset schreiben"}}},
        {"NSW",
         {{kCmdNswFromModule, "Konfiguration vom Modul laden"},
          {kCmdNswToModule, "Konfiguration in Modul schreiben"},
          {0, ""},
          {kCmdNswBlock, "Inbetriebnahme BlockConfig. lesen"},
          {kCmdNswBit, "Inbetriebnahme Bitzuordnung lesen"},
          {kCmdNswSetupSsi, "Inbetriebnahme SSI lesen"},
          {kCmdNswProg, "Programmierung lesen"},
          {0, ""},
          {kCmdNswWarnings, "Warnungen anzeigen"}}},
        {"Filter",
         {{kCmdFilterFromModule, "Konfiguration vom Modul laden"},
          {kCmdFilterToModule, "Konfiguration in Modul schreiben"}}},
        {"eType", {{kCmdIdentification, "Identification"}}},
    };
    return table;
}

struct ToolButtonSpec {
    int id; // 0: separator
    const char* tooltip;
    const char* glyph;
    mv::COLORREF color;
};

const std::vector<ToolButtonSpec>& ToolTable() {
    static const std::vector<ToolButtonSpec> table = {
        {kCmdIpConfig, "Send Modulconfiguration", "IP", 0x806000},
        {0, "", "", 0},
        {kCmdReset, "Reset", "R", 0x0000C0},
        {kCmdFtpClient, "FTP-Client", "FTP", 0x008000},
        {0, "", "", 0},
        {kCmdSsiFromModule, "Read SSI Configuration ", "S\xAB", 0x800080},
        {kCmdSsiToModule, "Send SSI Configuration ", "S\xBB", 0x800080},
        {0, "", "", 0},
        {kCmdNswFromModule, "Read NSW Configuration ", "N\xAB", 0x004080},
        {kCmdNswToModule, "Send NSW Konfiguration ", "N\xBB", 0x004080},
    };
    return table;
}

// The toolbar's pictures: a coloured tile with a short label.
QIcon Glyph(const char* text, mv::COLORREF color) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, 0, 16, 16), xui::toQColor(color));
    p.setPen(Qt::white);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::strlen(text) > 2 ? 7 : 9);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, xui::fromCp1252(text));
    return QIcon(pixmap);
}

int ReadNswWarningFlag() {
    const auto key = mv::SettingsKey::open(mv::SettingsRoot::User, kSettingsKey);
    if (!key) {
        return 1;
    }
    const auto value = key->readDword(kNswWarningValue);
    return value ? static_cast<int>(*value) : 1;
}

std::string LanguageName() {
    const auto key = mv::SettingsKey::open(mv::SettingsRoot::User, kSettingsKey);
    std::string language = key ? key->readText("Sprache").value_or("") : std::string();
    return language.empty() ? std::string("English") : language;
}

} // namespace

CAdvancedDlg::CAdvancedDlg(QWidget* parent)
    : CXDialog(kAdvancedDlgTemplate, parent), app_(theApp()),
      commands_(theApp(), *this, *this, PanelClock()) {
    log_ = itemAs<CMListBox>(kLogListId);
    timer_.setInterval(kReconnectTimerMs);
    connect(&timer_, &QTimer::timeout, this, [this] { OnTimer(); });
}

CAdvancedDlg::~CAdvancedDlg() {
    timer_.stop();
    SetWaitCursor(false);
}

void CAdvancedDlg::done(int result) {
    timer_.stop();
    SetWaitCursor(false);
    if (tooltip_ != nullptr) {
        tooltip_->hide();
    }
    CXDialog::done(result);
}

QAction* CAdvancedDlg::Action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* CAdvancedDlg::Menu(const QString& title) const {
    auto it = menus_.find(title);
    return it == menus_.end() ? nullptr : it->second;
}

void CAdvancedDlg::CreateMenu() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    menuBar_->setProperty(kIdProperty, kMenuResource);
    for (const MenuSpec& wanted : MenuTable()) {
        QMenu* menu = menuBar_->addMenu(QString::fromLatin1(wanted.title));
        menus_[QString::fromLatin1(wanted.title)] = menu;
        for (const MenuItem& item : wanted.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(xui::fromCp1252(item.text));
            action->setProperty(kIdProperty, item.id);
            const int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { xui::postCommandTo(this, id); });
            actions_[id] = action;
        }
    }
    Action(kCmdNswWarnings)->setCheckable(true);
    // The filter functions belong to other controllers than the cam-switch ones.
    menus_["Filter"]->setEnabled(false);
    menus_["Filter"]->menuAction()->setEnabled(false);
}

bool CAdvancedDlg::CreateToolBar() {
    toolbar_ = new QToolBar(this);
    toolbar_->setProperty(kIdProperty, kToolbarResource);
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    for (const ToolButtonSpec& wanted : ToolTable()) {
        if (wanted.id == 0) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* menuAction = Action(wanted.id);
        QAction* action = toolbar_->addAction(Glyph(wanted.glyph, wanted.color), menuAction->text());
        action->setProperty(kIdProperty, wanted.id);
        action->setToolTip(QString::fromLatin1(wanted.tooltip));
        const int id = wanted.id;
        connect(action, &QAction::triggered, this, [this, id] { xui::postCommandTo(this, id); });
        if (QWidget* button = toolbar_->widgetForAction(action)) {
            button->setProperty(kIdProperty, wanted.id);
            button->installEventFilter(this);
        }
    }
    tooltip_ = new QLabel(this, Qt::ToolTip);
    tooltip_->setAutoFillBackground(true);
    QPalette palette = tooltip_->palette();
    palette.setColor(QPalette::Window, xui::toQColor(kTooltipColor));
    palette.setColor(QPalette::WindowText, Qt::black);
    tooltip_->setPalette(palette);
    tooltip_->setFrameStyle(QFrame::Box | QFrame::Plain);
    tooltip_->hide();
    return true;
}

bool CAdvancedDlg::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button != nullptr && event->type() == QEvent::ToolTip) {
        if (QAction* action = button->defaultAction()) {
            ShowTooltip(button, action->toolTip());
        }
        return true; // the own tooltip instead of the application's
    }
    if (button != nullptr && (event->type() == QEvent::Leave || event->type() == QEvent::Hide)) {
        if (tooltip_ != nullptr) {
            tooltip_->hide();
        }
    }
    return CXDialog::eventFilter(watched, event);
}

void CAdvancedDlg::ShowTooltip(QWidget* button, const QString& text) {
    if (tooltip_ == nullptr) {
        return;
    }
    tooltip_->setText(text);
    tooltip_->adjustSize();
    tooltip_->move(button->mapToGlobal(QPoint(0, button->height() + 2)));
    tooltip_->show();
}

void CAdvancedDlg::ApplyControllerGating(std::uint16_t controllerId) {
    if ((controllerId & 0xFF00) == kCamControllerFamily) {
        return;
    }
    for (const char* title : {"SSI", "NSW"}) {
        menus_[title]->setEnabled(false);
        menus_[title]->menuAction()->setEnabled(false);
    }
    menus_["Filter"]->setEnabled(true);
    menus_["Filter"]->menuAction()->setEnabled(true);
    for (int id : {kCmdSsiFromModule, kCmdSsiToModule, kCmdNswFromModule, kCmdNswToModule}) {
        for (QAction* action : toolbar_->actions()) {
            if (action->property(kIdProperty).toInt() == id) {
                action->setVisible(false);
            }
        }
    }
    // A separator shows only between two shown buttons: the hidden groups take theirs along.
    QAction* waiting = nullptr;
    bool buttonShown = false;
    for (QAction* action : toolbar_->actions()) {
        if (action->isSeparator()) {
            action->setVisible(false);
            if (buttonShown && waiting == nullptr) {
                waiting = action;
            }
        } else if (action->isVisible()) {
            if (waiting != nullptr) {
                waiting->setVisible(true);
                waiting = nullptr;
            }
            buttonShown = true;
        }
    }
}

bool CAdvancedDlg::OnInitDialog() {
    commands_.LoadModuleDescriptions(LanguageName());
    if (log_ != nullptr) {
        log_->ApplyLogFont();
    }
    CreateMenu();
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, width(), menuHeight);
    if (!CreateToolBar()) {
        return true;
    }
    const int toolHeight = toolbar_->sizeHint().height();
    toolbar_->setGeometry(0, menuHeight, width(), toolHeight);
    const int shift = menuHeight + toolHeight;
    for (QWidget* child : built().order) {
        child->move(child->x(), child->y() + shift);
    }
    setClientSize(width(), height() + shift);

    ApplyControllerGating(A_GetControllerID(app_.m_Handle));
    nswWarnings_ = ReadNswWarningFlag();
    Action(kCmdNswWarnings)->setChecked(nswWarnings_ == 1);
    int previous = 0;
    A_SetComTimout(app_.m_Handle, app_.m_WriteTimeout, &previous);
    timer_.start();
    return true;
}

void CAdvancedDlg::AddLogLine(const std::string& text, std::unique_ptr<LogItemRecord> record) {
    if (log_ != nullptr) {
        log_->AddLine(MakeLogLine(text), std::move(record));
    }
}

void CAdvancedDlg::ReplaceLogLine(const std::string& text) {
    if (log_ != nullptr) {
        log_->DeleteLastLine();
        log_->AddLine(MakeLogLine(text), nullptr);
    }
}

bool CAdvancedDlg::AskSsiIndex(std::string& index) {
    CSSIIndexDlg dlg(this);
    dlg.m_Index = index;
    if (dlg.DoModal() != mv::IDOK) {
        return false;
    }
    index = dlg.m_Index;
    return true;
}

bool CAdvancedDlg::AskCamBlock(std::string& block, std::string& bitOffset) {
    CCamBlockDlg dlg(this);
    dlg.m_Block = block;
    dlg.m_BitOffset = bitOffset;
    if (dlg.DoModal() != mv::IDOK) {
        return false;
    }
    block = dlg.m_Block;
    bitOffset = dlg.m_BitOffset;
    return true;
}

bool CAdvancedDlg::PumpMessage() {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    return dispatcher != nullptr && dispatcher->processEvents(QEventLoop::AllEvents);
}

void CAdvancedDlg::EnableControls(bool on) {
    if (toolbar_ != nullptr) {
        toolbar_->setEnabled(on);
    }
    for (int id : {kClearButtonId, mv::IDOK}) {
        if (QWidget* w = item(id)) {
            w->setEnabled(on);
        }
    }
    repaint();
}

void CAdvancedDlg::OnCommand(int id, int code) {
    if (busy_) {
        return; // one command at a time, whatever starts it
    }
    if (reconnect_.state != kReconnectIdle && id != mv::IDOK && id != mv::IDCANCEL) {
        return;
    }
    if (id == mv::IDOK || id == mv::IDCANCEL) {
        CXDialog::OnCommand(id, code);
        return;
    }
    busy_ = true;
    if (id == kLogListId) {
        if (code == kLogDoubleClickCode) {
            OnLogDoubleClick();
        }
    } else {
        RunCommand(id);
    }
    busy_ = false;
}

void CAdvancedDlg::RunCommand(int id) {
    switch (id) {
    case kClearButtonId:
        log_->ClearLines();
        return;
    case kCmdIpConfig:
        OnIpConfig();
        return;
    case kCmdReset:
        OnReset();
        return;
    case kCmdFtpClient:
        OnFtpClient();
        return;
    case kCmdNswWarnings:
        OnNswWarnings();
        return;
    case kCmdIdentification:
        OnIdentification();
        return;
    case kCmdSsiFromModule:
    case kCmdSsiToModule:
    case kCmdNswFromModule:
    case kCmdNswToModule:
    case kCmdFilterFromModule:
    case kCmdFilterToModule:
    case kCmdSsiOffsetWrite:
        OnDataFileCommand(id);
        return;
    default:
        commands_.Run(id);
    }
}

void CAdvancedDlg::OnNswWarnings() {
    nswWarnings_ = nswWarnings_ == 1 ? 0 : 1;
    Action(kCmdNswWarnings)->setChecked(nswWarnings_ == 1);
    if (const auto key = mv::SettingsKey::open(mv::SettingsRoot::User, kSettingsKey, true)) {
        key->writeDword(kNswWarningValue, static_cast<std::uint32_t>(nswWarnings_));
    }
}

void CAdvancedDlg::OnLogDoubleClick() {
    const LogItemRecord* record = log_->Record(log_->currentRow());
    if (record != nullptr) {
        OpenRecordEditor(*record);
    }
}

} // namespace x740panel
