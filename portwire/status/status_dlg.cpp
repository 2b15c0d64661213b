#include "portwire/status/status_dlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QListWidget>
#include <QPalette>
#include <QScreen>
#include <QThread>
#include <QWindow>

namespace portwire {

namespace {

// Dialog units with the fixed base units 6 x 13, rounded as MulDiv does.
int duX(int x) { return (x * 6 + 2) / 4; }
int duY(int y) { return (y * 13 + 4) / 8; }

// Longest wait for the window system to put a newly shown window on the screen.
constexpr int kExposeWaitMs = 2000;

// The caller's work blocks the thread's event loop: this lets the window system map, expose
// and take the window's paints now, while user input waits until the work is done.
void LetWindowSystemCatchUp() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

CStatusDlg::CStatusDlg() : QDialog(nullptr), list_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Status"));
    setModal(false);
    setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    setProperty("controlId", kStatusDialogId);
    setFixedSize(duX(132), duY(156));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x60, 0x90, 0xCF));
    setPalette(pal);
    setAutoFillBackground(true);

    list_->setObjectName(QStringLiteral("StatusList"));
    list_->setProperty("controlId", kStatusListId);
    list_->setGeometry(duX(7), duY(7), duX(118), duY(142));
    PlaceAtOwner();
}

CStatusDlg::~CStatusDlg() = default;

void CStatusDlg::PlaceAtOwner() {
    // The owner's size decides the place: x = owner width / 2 + own width / 2,
    // y = owner height / 2 - own height / 2.
    QSize owner;
    if (QWidget* active = QApplication::activeWindow())
        owner = active->normalGeometry().size();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        owner = screen->availableGeometry().size();
    move(owner.width() / 2 + width() / 2, owner.height() / 2 - height() / 2);
}

void CStatusDlg::ShowNow() {
    show();
    // Nothing reaches the screen before the server has mapped the window.
    QElapsedTimer waited;
    waited.start();
    while (!windowHandle()->isExposed() && waited.elapsed() < kExposeWaitMs) {
        LetWindowSystemCatchUp();
        QThread::yieldCurrentThread();
    }
    repaint();
    LetWindowSystemCatchUp();
}

void CStatusDlg::AddLine(const char* line) {
    list_->addItem(QString::fromLatin1(line));
    // Laid out and painted now, not when the blocked event loop would get to it.
    list_->doItemsLayout();
    repaint();
    if (isVisible())
        LetWindowSystemCatchUp();
}

std::unique_ptr<IStatusSink> MakeStatusWindow() {
    // Widgets live on the application's thread only; elsewhere the lines are dropped.
    QCoreApplication* app = QCoreApplication::instance();
    if (!qobject_cast<QApplication*>(app) || QThread::currentThread() != app->thread())
        return nullptr;
    auto dlg = std::make_unique<CStatusDlg>();
    dlg->ShowNow();
    return dlg;
}

} // namespace portwire
