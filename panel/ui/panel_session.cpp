#include "panel/ui/panel_session.h"

#include "panel/core/panel_app.h"
#include "panel/ui/advanced_dlg.h"
#include "panel/ui/mlist_box.h"
#include "panel/ui/panel_templates.h"
#include "xui/message_dlg.h"

#include <QApplication>
#include <QStyleFactory>

#include <memory>

namespace x740panel {

void RegisterPanelClasses() {
    RegisterPanelTemplates();
    RegisterLogListClass();
    xui::setMessageDlgConfig(xui::panelMessageConfig());
}

namespace {

// A QApplication for a caller that has none, removed again at the end of the call.
class CallApplication {
public:
    CallApplication() {
        if (QCoreApplication::instance() == nullptr) {
            app_ = std::make_unique<QApplication>(argc_, argv_);
            QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        }
    }
    bool usable() const { return qobject_cast<QApplication*>(QCoreApplication::instance()); }

private:
    int argc_ = 1;
    char name_[12] = "X740Panel";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

} // namespace

LinkHandle RunPanel(LinkHandle handle) {
    CX740PanelApp& app = theApp();
    app.m_Handle = handle;
    CallApplication callApp;
    if (!callApp.usable()) {
        return handle; // no widgets without a GUI application
    }
    app.InitInstance();
    RegisterPanelClasses();
    {
        CAdvancedDlg panel;
        panel.DoModal();
    }
    // Deferred deletes of the panel's objects run now, not after the library is gone.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return app.m_Handle;
}

} // namespace x740panel
