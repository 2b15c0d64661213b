#include "xui/xdialog.h"

#include "platform/sys_colors.h"
#include "xui/command.h"
#include "xui/font_map.h"
#include "xui/modal_cursor.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace xui {
namespace {

const DialogTemplate& emptyTemplate() {
    static const DialogTemplate t{};
    return t;
}

} // namespace

CXDialog::CXDialog(const DialogTemplate& tmpl, QWidget* parent, bool ownCaption)
    : QDialog(parent), tmpl_(&tmpl), ownCaption_(ownCaption) {
    if (ownCaption_) {
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        clientOrigin_ = QPoint(ncFrame(), ncTop());
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    built_ = buildDialog(this, tmpl, clientOrigin_);
    setClientSize(dluToPixelsX(tmpl.cx), dluToPixelsY(tmpl.cy));
}

CXDialog::CXDialog(int templateId, QWidget* parent)
    : CXDialog(findDialogTemplate(templateId) != nullptr ? *findDialogTemplate(templateId)
                                                         : emptyTemplate(),
               parent) {}

CXDialog::~CXDialog() = default;

int CXDialog::ncFrame() { return mv::GetSystemMetrics(mv::SM_CXDLGFRAME); }

int CXDialog::ncTop() {
    return mv::GetSystemMetrics(mv::SM_CYFRAME) + mv::GetSystemMetrics(mv::SM_CYCAPTION);
}

void CXDialog::setClientSize(int width, int height) {
    const int w = std::max(1, width + (ownCaption_ ? 2 * ncFrame() : 0));
    const int h = std::max(1, height + (ownCaption_ ? ncTop() + ncFrame() : 0));
    setFixedSize(w, h);
}

void CXDialog::ensureInitialised() {
    if (!initialised_) {
        initialised_ = true;
        OnInitDialog();
    }
}

int CXDialog::DoModal() {
    ensureInitialised();
    const ModalCursorLift lift;
    return exec();
}

void CXDialog::ShowModeless() {
    ensureInitialised();
    show();
}

void CXDialog::EndDialog(int result) { done(result); }

QWidget* CXDialog::item(int id) const {
    auto it = built_.items.find(id);
    return it == built_.items.end() ? nullptr : it->second;
}

mv::RECT CXDialog::controlRect(const QWidget* control) const {
    if (control == nullptr) {
        return {};
    }
    const QRect g = control->geometry().translated(-clientOrigin_);
    return mv::RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void CXDialog::moveControl(QWidget* control, int x, int y, int cx, int cy) {
    if (control == nullptr) {
        return;
    }
    const QRect r(x + clientOrigin_.x(), y + clientOrigin_.y(), std::max(0, cx), std::max(0, cy));
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        placeComboBox(combo, r);
    } else {
        control->setGeometry(r);
    }
}

void CXDialog::paintBoxImpl(mv::Canvas& dc, const QWidget* control, int alignment,
                            mv::COLORREF fill, mv::COLORREF text, mv::COLORREF frame,
                            bool framed) {
    if (control == nullptr) {
        return;
    }
    const mv::RECT r = controlRect(control);
    dc.saveState();
    dc.setBkMode(mv::TRANSPARENT);
    dc.fillRect(r, fill);
    const mv::FontDesc font = controlFont(control);
    dc.selectFont(font);
    const int height = std::abs(font.height);
    dc.setTextAlign(static_cast<unsigned>(alignment));
    dc.setTextColor(text);
    const int y = r.top + (r.bottom - r.top) / 2 - height / 2 - 2;
    const std::string s = toCp1252(windowText(control));
    switch (alignment) {
    case 0:
        dc.textOut(r.left + 2, y, s);
        break;
    case 2:
        dc.textOut(r.right - 2, y, s);
        break;
    case 6:
        dc.textOut(r.left + (r.right - r.left) / 2, y, s);
        break;
    default:
        break; // other alignments draw no text
    }
    if (framed) {
        dc.frameRect(r, frame);
    }
    dc.restoreState();
}

void CXDialog::PaintStaticBox(mv::Canvas& dc, const QWidget* control, int alignment,
                              mv::COLORREF fill, mv::COLORREF text, mv::COLORREF frame) {
    paintBoxImpl(dc, control, alignment, fill, text, frame, true);
}

void CXDialog::PaintStaticLabel(mv::Canvas& dc, const QWidget* control, int alignment,
                                mv::COLORREF fill, mv::COLORREF text, mv::COLORREF /*frame*/) {
    paintBoxImpl(dc, control, alignment, fill, text, 0, false);
}

void CXDialog::PaintStaticBoxDC(const QWidget* control, int alignment, mv::COLORREF fill,
                                mv::COLORREF text, mv::COLORREF frame) {
    paintOwn([&](mv::Canvas& dc) { paintBoxImpl(dc, control, alignment, fill, text, frame, true); });
}

void CXDialog::PaintBox(int left, int top, int right, int bottom, mv::COLORREF fill,
                        mv::COLORREF frame) {
    paintOwn([&](mv::Canvas& dc) {
        const mv::RECT r{left, top, right, bottom};
        dc.fillRect(r, fill);
        dc.frameRect(r, frame);
    });
}

void CXDialog::paintOwn(std::function<void(mv::Canvas&)> draw) {
    if (paintCanvas_ != nullptr) {
        draw(*paintCanvas_);
        return;
    }
    // Outside a paint: draw on the dialog's own surface, which every paint shows on top.
    if (ownDc_.size() != size()) {
        QImage next(size(), QImage::Format_ARGB32_Premultiplied);
        next.fill(Qt::transparent);
        if (!ownDc_.isNull()) {
            QPainter copy(&next);
            copy.drawImage(0, 0, ownDc_);
        }
        ownDc_ = next;
    }
    {
        QPainter p(&ownDc_);
        QtCanvas dc(p);
        dc.setViewportOrg(mv::POINT{clientOrigin_.x(), clientOrigin_.y()});
        draw(dc);
    }
    update();
}

void CXDialog::OnPaint(mv::Canvas& /*dc*/) {}

void CXDialog::OnNcPaint(mv::Canvas& dc) {
    // A plain frame: a dark outline and the face colour in the band.
    const int w = width();
    const int h = height();
    const mv::COLORREF face = mv::GetSysColor(mv::COLOR_BTNFACE);
    dc.fillRect(mv::RECT{0, 0, w, ncTop()}, face);
    dc.fillRect(mv::RECT{0, 0, ncFrame(), h}, face);
    dc.fillRect(mv::RECT{w - ncFrame(), 0, w, h}, face);
    dc.fillRect(mv::RECT{0, h - ncFrame(), w, h}, face);
    dc.frameRect(mv::RECT{0, 0, w, h}, mv::GetSysColor(mv::COLOR_3DDKSHADOW));
}

void CXDialog::paintEvent(QPaintEvent* /*e*/) {
    QPainter p(this);
    QtCanvas dc(p);
    // Background erase: the whole client area in the background colour.
    dc.fillRect(mv::RECT{0, 0, width(), height()}, backColor_);
    dc.saveState();
    dc.setViewportOrg(mv::POINT{clientOrigin_.x(), clientOrigin_.y()});
    paintCanvas_ = &dc;
    OnPaint(dc);
    paintCanvas_ = nullptr;
    dc.restoreState();
    if (!ownDc_.isNull()) {
        p.drawImage(0, 0, ownDc_);
    }
    if (ownCaption_) {
        OnNcPaint(dc);
    }
}

int CXDialog::RepairButtonFaces() {
    if (built_.order.empty()) {
        return 0;
    }
    auto nextTabItem = [this](QWidget* from) -> QWidget* {
        QWidget* w = from->nextInFocusChain();
        for (int guard = 0; w != nullptr && w != from && guard < 10000; ++guard) {
            if (w->parentWidget() == this && (w->focusPolicy() & Qt::TabFocus) != 0 &&
                !w->isHidden() && w->isEnabled()) {
                return w;
            }
            w = w->nextInFocusChain();
        }
        return from;
    };
    std::vector<QWidget*> visited;
    QWidget* current = built_.order.front();
    while (current != nullptr && static_cast<int>(visited.size()) < kRepairWalkLimit) {
        visited.push_back(current);
        if (windowClassName(current) == "XBUTTON") {
            if (auto* face = dynamic_cast<RepairableFace*>(current)) {
                if (!face->NormalFaceShown()) {
                    face->RefreshFace();
                }
            }
        }
        QWidget* next = nextTabItem(current);
        if (std::find(visited.begin(), visited.end(), next) != visited.end()) {
            break;
        }
        current = next;
    }
    return static_cast<int>(visited.size());
}

void CXDialog::mouseMoveEvent(QMouseEvent* e) {
    if (dragging_ && (e->buttons() & Qt::LeftButton) != 0) {
        move(e->globalPosition().toPoint() - dragOffset_);
        return;
    }
    if (childAt(e->position().toPoint()) == nullptr) {
        RepairButtonFaces();
    }
    QDialog::mouseMoveEvent(e);
}

void CXDialog::mousePressEvent(QMouseEvent* e) {
    if (ownCaption_ && e->button() == Qt::LeftButton && e->position().y() < ncTop()) {
        dragging_ = true;
        dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
        return;
    }
    QDialog::mousePressEvent(e);
}

void CXDialog::mouseReleaseEvent(QMouseEvent* e) {
    if (dragging_ && e->button() == Qt::LeftButton) {
        dragging_ = false;
        return;
    }
    QDialog::mouseReleaseEvent(e);
}

void CXDialog::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        postCommandTo(this, mv::IDCANCEL);
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        postCommandTo(this, mv::IDOK);
        return;
    }
    QDialog::keyPressEvent(e);
}

void CXDialog::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (isVisible()) {
        OnCommand(mv::IDCANCEL, 0);
    }
}

void CXDialog::showEvent(QShowEvent* e) {
    ensureInitialised();
    QDialog::showEvent(e);
}

void CXDialog::resizeEvent(QResizeEvent* e) { QDialog::resizeEvent(e); }

bool CXDialog::event(QEvent* e) {
    if (e->type() == CommandEvent::eventType()) {
        auto* c = static_cast<CommandEvent*>(e);
        OnCommand(c->id(), c->code());
        return true;
    }
    return QDialog::event(e);
}

void CXDialog::OnCommand(int id, int /*code*/) {
    if (id == mv::IDOK) {
        OnOK();
    } else if (id == mv::IDCANCEL) {
        OnCancel();
    }
}

void CXDialog::OnOK() { EndDialog(mv::IDOK); }

void CXDialog::OnCancel() { EndDialog(mv::IDCANCEL); }

} // namespace xui
