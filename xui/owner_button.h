// The self-drawn latching button: the gradient face of XBUTTON, a yellow pressed face, and a
// caption cut to fit ("..."). In latching mode a press latches and only Release() unlatches.
#pragma once

#include "platform/canvas.h"
#include "platform/gdi_types.h"
#include "xui/gradient_button.h"

#include <QWidget>

#include <string>

namespace xui {

class COwnerButton : public GradientButton {
    Q_OBJECT

public:
    static constexpr mv::COLORREF kPressedFill = 0x5CDDFF;
    // Captions longer than these are cut to the kept count followed by "...".
    static constexpr int kNormalMax = 19;
    static constexpr int kNormalKeep = 16;
    static constexpr int kPressedMax = 15;
    static constexpr int kPressedKeep = 12;

    // A button with its control id and caption (Windows-1252 bytes).
    COwnerButton(QWidget* parent, int id, const std::string& caption);

    void SetLatching();
    // A press by the program: focus and pressed face (and latched in latching mode).
    void Press();
    // Latching mode: unlatch and repaint.
    void Release();

    void SetCaption(const std::string& caption);
    const std::string& caption() const { return caption_; }
    bool isLatched() const { return latched_ != 0; }
    bool isLatching() const { return latching_ != 0; }

    // The caption as each face draws it.
    static std::string normalCaption(const std::string& caption);
    static std::string pressedCaption(const std::string& caption);

    void paintNormalFace(mv::Canvas& canvas, bool focused);
    void paintPressedFace(mv::Canvas& canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    void leftDown() override;
    bool keepsPressedFace() const override { return latched_ != 0; }

private:
    std::string caption_;
    int latching_ = 0;
};

} // namespace xui
