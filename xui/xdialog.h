// CXDialog: the base of every own dialog. A modal dialog built from a template with a flat
// coloured background, painters for text boxes in place of plain static controls, and the
// repair of pressed XBUTTON faces when the mouse moves over the dialog's surface.
//
// Commands from the controls arrive at OnCommand(id, code). By default id 1 calls OnOK and
// id 2 calls OnCancel, which end the dialog with IDOK and IDCANCEL; Escape sends 2 and Enter
// sends 1. A dialog overrides OnCommand, OnOK or OnCancel to do otherwise.
#pragma once

#include "platform/canvas.h"
#include "xui/dialog_builder.h"
#include "xui/dialog_template.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>

namespace xui {

constexpr mv::COLORREF kDialogBackground = 0xCF9060;
constexpr mv::COLORREF kLabelBoxFill = 0xDEBF97;

// The repair walk visits at most this many controls.
constexpr int kRepairWalkLimit = 100;

class CXDialog : public QDialog {
    Q_OBJECT

public:
    // Built from the template (which must outlive the dialog). With `ownCaption` the dialog
    // has no platform frame: it keeps a non-client band of its own (see clientOrigin) and a
    // drag on the band moves it.
    explicit CXDialog(const DialogTemplate& tmpl, QWidget* parent = nullptr,
                      bool ownCaption = false);
    // Built from a registered template; an unknown id gives an empty dialog.
    explicit CXDialog(int templateId, QWidget* parent = nullptr);
    ~CXDialog() override;

    // Runs the dialog modally; the result is the code given to EndDialog (IDCANCEL when the
    // dialog was closed otherwise).
    int DoModal();
    // Initialises (once) and shows the dialog without a modal loop (tests and screenshots).
    void ShowModeless();
    void EndDialog(int result);

    // The control of an id (in place of GetDlgItem); null when there is none.
    QWidget* item(int id) const;
    template <class T> T* itemAs(int id) const { return qobject_cast<T*>(item(id)); }
    const BuiltDialog& built() const { return built_; }

    mv::COLORREF backColor() const { return backColor_; }
    void SetBackColor(mv::COLORREF color) { backColor_ = color; }

    // A control's rectangle in client coordinates (its normal position).
    mv::RECT controlRect(const QWidget* control) const;
    void moveControl(QWidget* control, int x, int y, int cx, int cy);
    // Client origin inside the window (non-zero only with an own caption).
    QPoint clientOrigin() const { return clientOrigin_; }

    // Painters. Alignment 0 left, 2 right, 6 centre; any other value draws no text.
    void PaintStaticBox(mv::Canvas& dc, const QWidget* control, int alignment, mv::COLORREF fill,
                        mv::COLORREF text, mv::COLORREF frame);
    void PaintStaticBoxDC(const QWidget* control, int alignment, mv::COLORREF fill,
                          mv::COLORREF text, mv::COLORREF frame);
    void PaintStaticLabel(mv::Canvas& dc, const QWidget* control, int alignment,
                          mv::COLORREF fill, mv::COLORREF text, mv::COLORREF frame);
    void PaintBox(int left, int top, int right, int bottom, mv::COLORREF fill,
                  mv::COLORREF frame);

    // The repair walk over the XBUTTON faces (what a mouse move over the surface does).
    // Returns the number of controls visited.
    int RepairButtonFaces();

protected:
    // Called once before the dialog is first shown; true as usual.
    virtual bool OnInitDialog() { return true; }
    // Draws the dialog's own content on the erased background (client coordinates).
    virtual void OnPaint(mv::Canvas& dc);
    // Draws the non-client band of a dialog with an own caption (window coordinates).
    virtual void OnNcPaint(mv::Canvas& dc);
    virtual void OnCommand(int id, int code);
    virtual void OnOK();
    virtual void OnCancel();

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

    // Sets the client size (the window grows by the own non-client band).
    void setClientSize(int width, int height);
    // The non-client margins of an own caption: left/right/bottom frame and top band.
    static int ncFrame();
    static int ncTop();

private:
    void paintOwn(std::function<void(mv::Canvas&)> draw);
    void ensureInitialised();
    void paintBoxImpl(mv::Canvas& dc, const QWidget* control, int alignment, mv::COLORREF fill,
                      mv::COLORREF text, mv::COLORREF frame, bool framed);

    const DialogTemplate* tmpl_ = nullptr;
    BuiltDialog built_;
    mv::COLORREF backColor_ = kDialogBackground;
    bool ownCaption_ = false;
    QPoint clientOrigin_;
    bool initialised_ = false;
    mv::Canvas* paintCanvas_ = nullptr; // the canvas of the paint in progress
    QImage ownDc_;                      // drawings made outside a paint
    bool dragging_ = false;
    QPoint dragOffset_;
};

} // namespace xui
