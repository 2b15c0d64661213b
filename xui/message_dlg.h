// CMessageDlg: the program's message box. A symbol bitmap, one or two text lines, a caption
// band painted by the dialog itself in a caption colour, and OK (with Cancel in button mode 1)
// as XBUTTONs. One code base for the main program and the panel: the template, the control
// ids and the hooks that pause and resume background work come from a per-deliverable
// configuration set once at start-up.
#pragma once

#include "xui/xdialog.h"

#include <QImage>

#include <functional>
#include <string>
#include <vector>

namespace xui {

// Button modes.
constexpr int kMessageOk = 0;
constexpr int kMessageOkCancel = 1;

constexpr mv::COLORREF kMessageBackground = 0xDEBF97;
constexpr mv::COLORREF kCaptionRed = 0x0000FF;
constexpr mv::COLORREF kCaptionDarkBlue = 0x800000;

// Background work a message dialog holds while it is open: `pause` stops it and tells whether
// it was running; `resume` runs after every paint of the dialog when it was.
struct MessagePauseHook {
    std::function<bool()> pause;
    std::function<void()> resume;
};

struct MessageDlgConfig {
    const DialogTemplate* tmpl = nullptr;
    int line1Id = 0;
    int line2Id = 0;
    int symbolId = 0;
    std::vector<MessagePauseHook> hooks;
};

// The template of the message dialog with the given ids (145 x 55 dialog units).
DialogTemplate makeMessageDlgTemplate(int templateId, int line1Id, int line2Id, int symbolId);

// The configurations of the two deliverables: template 148 with lines 1028/1030 and symbol
// 1029, and template 15019 with lines 15069/15090 and symbol 15070. Neither has hooks; the
// main program adds its own.
MessageDlgConfig mainProgramMessageConfig();
MessageDlgConfig panelMessageConfig();

// The configuration a CMessageDlg uses when none is given (the main program's until set).
// Each deliverable sets its own once at start-up: the program with its pause hooks, the panel
// with panelMessageConfig(). A configuration without a template is ignored.
void setMessageDlgConfig(const MessageDlgConfig& config);
const MessageDlgConfig& messageDlgConfig();

// One message as the callers give it: texts (Windows-1252), symbol, buttons, caption colour.
struct MessageRequest {
    std::string line1;
    std::string line2;
    std::string caption;
    int bitmapId = 0;
    int buttonMode = kMessageOk;
    mv::COLORREF captionColor = kCaptionDarkBlue;
    // The deliverable's configuration; null for the one set with setMessageDlgConfig.
    const MessageDlgConfig* config = nullptr;
};

// Shows a message and returns IDOK or IDCANCEL. Code that asks the user goes through here, so
// tests answer instead of a dialog: setMessagePresenter replaces the dialog, an empty
// presenter restores it.
using MessagePresenter = std::function<int(const MessageRequest&)>;
void setMessagePresenter(MessagePresenter presenter);
int ShowMessage(const MessageRequest& request);

class CMessageDlg : public CXDialog {
    Q_OBJECT

public:
    // Texts are Windows-1252 bytes. An empty line 2 gives a one-line message; line breaks in
    // line 2 list its rows one under the other.
    CMessageDlg(std::string line1, std::string line2, std::string caption, int bitmapId,
                int buttonMode, QWidget* parent, mv::COLORREF captionColor);
    // The same with a deliverable's configuration given explicitly, so code that shares the
    // process with another deliverable never depends on which one set the default. A
    // configuration without a template falls back to the default one.
    CMessageDlg(const MessageDlgConfig& config, std::string line1, std::string line2,
                std::string caption, int bitmapId, int buttonMode, QWidget* parent,
                mv::COLORREF captionColor);

    const MessageDlgConfig& config() const { return config_; }

    QWidget* line1Static() const { return line1_; }
    QWidget* line2Static() const { return line2_; }
    QWidget* symbolStatic() const { return symbol_; }
    const QImage& symbol() const { return bitmap_; }
    mv::COLORREF captionColor() const { return captionColor_; }
    // The caption band in window coordinates.
    mv::RECT captionBarRect() const;

protected:
    bool OnInitDialog() override;
    void OnPaint(mv::Canvas& dc) override;
    void OnNcPaint(mv::Canvas& dc) override;

private:
    std::vector<std::string> line2Rows() const;

    MessageDlgConfig config_;
    QWidget* line2_ = nullptr;
    QWidget* symbol_ = nullptr;
    QWidget* line1_ = nullptr;
    mv::COLORREF ownBackColor_ = kMessageBackground;
    mv::COLORREF captionColor_;
    QImage bitmap_;
    int buttonMode_;
    int bitmapId_;
    std::string caption_;
    std::string line1Text_;
    std::string line2Text_;
    std::vector<bool> paused_; // per hook: it was running when the dialog opened
};

} // namespace xui
