#include "portwire/status/status_dlg.h"

#include <QApplication>
#include <QGuiApplication>
#include <QListWidget>
#include <QPalette>
#include <QScreen>
#include <QThread>

namespace portwire {

namespace {

// Dialog units with the fixed base units 6 x 13, rounded as MulDiv does.
int duX(int x) { return (x * 6 + 2) / 4; }
int duY(int y) { return (y * 13 + 4) / 8; }

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

void CStatusDlg::AddLine(const char* line) {
    list_->addItem(QString::fromLatin1(line));
    list_->repaint();
    repaint();
}

std::unique_ptr<IStatusSink> MakeStatusWindow() {
    // Widgets live on the application's thread only; elsewhere the lines are dropped.
    QCoreApplication* app = QCoreApplication::instance();
    if (!qobject_cast<QApplication*>(app) || QThread::currentThread() != app->thread())
        return nullptr;
    auto dlg = std::make_unique<CStatusDlg>();
    dlg->show();
    dlg->repaint();
    return dlg;
}

} // namespace portwire
