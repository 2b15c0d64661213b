// Writes PNG pictures of morvelan's main frame, started as the program starts with a copy of
// the sample installation and its demo project, into the folder given on the command line:
//   morvelan_frame_screenshots <folder> [--xvfb]
// With --xvfb the frame runs on a private X server and each picture of it is what the server
// holds; otherwise the widgets paint themselves offscreen.
#include "morvelan/ui/left_view.h"
#include "morvelan/ui/main_frame.h"
#include "morvelan/ui/morvelan_app.h"
#include "morvelan/ui/morvelan_view.h"
#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "tests/xvfb/x_grab.h"
#include "tests/xvfb/xvfb_session.h"
#include "xui/message_dlg.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

int g_written = 0;
bool g_onServer = false;

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool save(const QImage& image, const QString& folder, const char* name) {
    const QString path = folder + "/" + QString::fromLatin1(name) + ".png";
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    ++g_written;
    return true;
}

// The frame as it is shown: on the X server, what the server holds once it has painted.
QImage shot(QWidget& frame) {
    if (!g_onServer)
        return frame.grab().toImage();
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        return QImage();
    settle();
    QTest::qWait(100);
    QApplication::sync();
    return mvtest::GrabXWindow(static_cast<uint32_t>(frame.winId()));
}

// Starts the program over the installation copy, in a language; null when it does not start.
std::unique_ptr<CMorvelanApp> startProgram(const std::string& root, const std::string& language,
                                           bool withProject = true) {
    std::ofstream(root + "/user.reg", std::ios::binary)
        << "[SOFTWARE\\Kelvane\\Morvelan]\r\nSprache=sz:\"" << language << "\"\r\n";
    mv::iniClearCache();
    auto app = std::make_unique<CMorvelanApp>();
    app->m_CurrentDirectory = [root] { return root; };
    app->m_SystemMessage = [](const std::string& caption, const std::string& text) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    };
    const std::string project = root + "/prog/samples/demo.mvl";
    const char* argv[] = {"morvelan", project.c_str()};
    if (!app->InitInstance(withProject ? 2 : 1, argv))
        return nullptr;
    app->m_pFrame->resize(1100, 720);
    settle();
    return app;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: morvelan_frame_screenshots <folder>\n");
        return 2;
    }
    g_onServer = argc > 2 && std::string(argv[2]) == "--xvfb";
    if (g_onServer && !mvtest::XvfbSession::Start()) {
        std::fprintf(stderr, "no X server could be started\n");
        return 1;
    }
    QApplication qt(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    char name[] = "/tmp/mv-frame-shots-XXXXXX";
    const std::string root = ::mkdtemp(name);
    fs::copy(MV_SAMPLE_DATA, root + "/prog", fs::copy_options::recursive);
    std::ofstream(root + "/machine.reg", std::ios::binary)
        << "[SOFTWARE\\Kelvane\\Morvelan]\r\nInstall=sz:\"" << root << "/prog\"\r\n";
    ::setenv(mv::kMachineStoreEnv, (root + "/machine.reg").c_str(), 1);
    ::setenv(mv::kUserStoreEnv, (root + "/user.reg").c_str(), 1);
    xui::setMessagePresenter([](const xui::MessageRequest& r) {
        std::fprintf(stderr, "message: %s / %s\n", r.line1.c_str(), r.line2.c_str());
        return 1;
    });

    int result = 0;
    {
        std::unique_ptr<CMorvelanApp> app = startProgram(root, "English");
        if (!app) {
            std::fprintf(stderr, "the program did not start\n");
            result = 1;
        } else {
            CMainFrame& frame = *app->m_pFrame;
            CMorvelanDoc& doc = frame.Doc();
            save(shot(frame), folder, "frame_project");
            frame.Tree()->SelectModul(doc.Station(0)->Tile(0));
            settle();
            save(shot(frame), folder, "frame_station0");
            frame.Tree()->SelectModul(doc.Station(0)->Tile(3));
            settle();
            save(shot(frame), folder, "frame_highlight");
            QMenu* menu = frame.Tree()->BuildContextMenu();
            menu->popup(frame.Tree()->mapToGlobal(QPoint(60, 80)));
            settle();
            save(menu->grab().toImage(), folder, "frame_menu132");
            menu->hide();
            frame.Tree()->SelectModul(doc.Station(1)->Tile(2));
            settle();
            save(shot(frame), folder, "frame_station1");
            // Scrolled, to the other station and back; then a board deleted.
            frame.resize(760, 560);
            frame.Tree()->SelectModul(doc.Station(0)->Tile(1));
            settle();
            frame.View()->horizontalScrollBar()->setValue(100);
            frame.View()->verticalScrollBar()->setValue(40);
            frame.Tree()->SelectModul(doc.Station(1)->Tile(0));
            frame.Tree()->SelectModul(doc.Station(0)->Tile(0));
            settle();
            save(shot(frame), folder, "frame_scrolled");
            frame.Tree()->SelectModul(doc.Station(0)->Tile(2));
            frame.OnCommand(ID_DELETE_MODULE);
            settle();
            save(shot(frame), folder, "frame_after_delete");
            app->ExitInstance();
        }
    }
    {
        std::unique_ptr<CMorvelanApp> app = startProgram(root, "Deutsch");
        if (app) {
            CMainFrame& frame = *app->m_pFrame;
            frame.Tree()->SelectModul(frame.Doc().Station(0)->Tile(5));
            settle();
            save(shot(frame), folder, "frame_german");
            QMenu* file = frame.Popup(1);
            file->popup(frame.mapToGlobal(QPoint(40, 30)));
            settle();
            save(file->grab().toImage(), folder, "frame_german_edit_menu");
            file->hide();
            app->ExitInstance();
        } else {
            result = 1;
        }
    }
    {
        std::unique_ptr<CMorvelanApp> app = startProgram(root, "English", false);
        if (app) {
            save(shot(*app->m_pFrame), folder, "frame_empty");
            app->ExitInstance();
        } else {
            result = 1;
        }
    }
    xui::setMessagePresenter(nullptr);
    fs::remove_all(root);
    std::printf("%d pictures written to %s\n", g_written, argv[1]);
    return result != 0 || g_written < 10 ? 1 : 0;
}
