// The FTP dialog offscreen against a real server (pyftpdlib on a loopback port).
#include "panel/ftpdlg/file_columns.h"
#include "panel/ftpdlg/ftp_dlg.h"
#include "panel/ftpdlg/ftp_dlg_ids.h"
#include "platform/settings_store.h"
#include "platform/sys_colors.h"
#include "tests/ftp/fault_server.h"
#include "tests/ftp/ftp_peer.h"
#include "tests/panel/ftp/ftp_test_util.h"
#include "xui/colorref.h"
#include "xui/command.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/time.h>
#include <utime.h>

using namespace ftpdlg;
using namespace ftptest;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "ftp_dlg_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

struct TestPrompts : FtpPrompts {
    bool ConfirmOverwrite(std::string_view name) override {
        asked.emplace_back(name);
        return answer;
    }
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    bool answer = false;
    std::vector<std::string> asked;
    std::vector<std::string> messages;
};

std::vector<std::string> Texts(const FileListBase* list, bool shown) {
    std::vector<std::string> out;
    for (int r = 0; r < list->count(); ++r) {
        const auto columns = list->Columns(r);
        out.push_back(shown ? columns.at(0).text : list->ItemText(r));
    }
    return out;
}

int RowOf(const FileListBase* list, const std::string& shown) {
    for (int r = 0; r < list->count(); ++r) {
        if (list->Columns(r).at(0).text == shown)
            return r;
    }
    return -1;
}

void DoubleClick(FileListBase* list, const std::string& shown) {
    const int row = RowOf(list, shown);
    ASSERT_GE(row, 0) << shown;
    list->setCurrentRow(row);
    const QPoint at = list->visualItemRect(list->item(row)).center();
    // A click first, stamped well apart from any earlier one, so the pair reads as a
    // double click of this item.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at, 300);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::sendPostedEvents();
}

void Command(CFtpDlg& dlg, int id) {
    xui::postCommandTo(&dlg, id);
    QCoreApplication::sendPostedEvents();
}

void SetModified(const std::string& path, std::time_t when) {
    const utimbuf times{when, when};
    ::utime(path.c_str(), &times);
}

// The dialog opened modeless on pyftpdlib serving a folder at 127.0.0.1 to one user.
struct ServedDialog {
    explicit ServedDialog(const std::string& root, const std::string& transcript = {})
        : server(Options(root, transcript)) {
        if (!server.Running())
            return;
        dlg.SetHost("127.0.0.1");
        dlg.SetUser("update");
        dlg.SetPassword("vorpal");
        dlg.SetLogList(&log);
        dlg.SetPort(server.Port());
        dlg.SetClock(&clock);
        dlg.SetTimeout(5000);
        dlg.SetPrompts(&prompts);
        dlg.ShowModeless();
    }
    static PyFtpdOptions Options(const std::string& root, const std::string& transcript) {
        PyFtpdOptions options;
        options.root = root;
        options.users = {{"update", "vorpal"}};
        options.transcript = transcript;
        return options;
    }

    PyFtpd server;
    RecordingLog log;
    TestPrompts prompts;
    mv::FakeClock clock;
    CFtpDlg dlg;
};

} // namespace

TEST(FtpDlg, WalksBothPanesAgainstARealServer) {
    App();
    TempFolder folder;
    const std::string root = folder.Path() + "/server";
    const std::string local = folder.Path() + "/l\xC3\xBC" "cal"; // a UTF-8 name
    namespace fs = std::filesystem;
    fs::create_directories(root + "/a/b");
    fs::create_directories(root + "/sub");
    fs::create_directories(local + "/Docs");
    fs::create_directories(local + "/.cache");
    WriteWholeFile(root + "/z.txt", "server z");
    WriteWholeFile(root + "/a/file.txt", "level one");
    WriteWholeFile(root + "/a/b/file.txt", "level two");
    WriteWholeFile(local + "/up.txt", std::string(1500, 'u'));
    WriteWholeFile(local + "/z.txt", "local z");
    WriteWholeFile(local + "/B-old.dat", "old");
    WriteWholeFile(local + "/.hidden", "h");
    SetModified(local + "/B-old.dat", std::time(nullptr) - 400L * 24 * 3600);

    const std::string store = folder.Path() + "/user.reg";
    setenv(mv::kUserStoreEnv, store.c_str(), 1);
    mv::SettingsKey(store, kSettingsKey).writeText(kLocalDirValue, local);
    const std::string cwd = QDir::currentPath().toStdString();

    ServedDialog served(root);
    ASSERT_TRUE(served.server.Running()) << served.server.Error();
    RecordingLog& log = served.log;
    TestPrompts& prompts = served.prompts;
    mv::FakeClock& clock = served.clock;
    CFtpDlg& dlg = served.dlg;
    ASSERT_TRUE(dlg.Session().IsConnected());
    EXPECT_EQ(dlg.windowTitle(), "FTP");
    EXPECT_EQ(log.lines.front(), "I\tConnecting to 127.0.0.1 (Attempt 1 of 2)");

    // Local pane: from the stored value; directories first, then files, each without regard
    // to case; dot files listed; time today, the year otherwise.
    EXPECT_EQ(dlg.LocalDirectory(), local);
    CLocalFileList* localList = dlg.LocalList();
    EXPECT_EQ(Texts(localList, false), (std::vector<std::string>{"[..]", "[.cache]", "[Docs]",
                                                                 ".hidden", "B-old.dat", "up.txt",
                                                                 "z.txt"}));
    const auto up = localList->Columns(RowOf(localList, "up.txt"));
    ASSERT_EQ(up.size(), 5u);
    EXPECT_EQ(up[1].x, kLocalSizeX);
    EXPECT_EQ(up[1].text, "1500");
    EXPECT_EQ(up[4].x, kLocalTimeX);
    EXPECT_EQ(up[4].text.size(), 5u);
    EXPECT_EQ(up[4].text[2], ':');
    const auto old = localList->Columns(RowOf(localList, "B-old.dat"));
    EXPECT_EQ(old[4].text.size(), 4u);
    EXPECT_LT(std::stoi(old[4].text), QDate::currentDate().year());

    // The painted captions: the label colour, the directory in (smoothed) white.
    const QImage shot = dlg.grab().toImage();
    const QRect caption = dlg.item(kLocalDirStatic)->geometry();
    EXPECT_EQ(shot.pixelColor(caption.right() - 2, caption.center().y()), QColor(151, 191, 222));
    bool white = false;
    for (int x = caption.left(); x < caption.left() + 60 && !white; ++x) {
        for (int y = caption.top(); y <= caption.bottom() && !white; ++y)
            white = qMin(qMin(shot.pixelColor(x, y).red(), shot.pixelColor(x, y).green()),
                         shot.pixelColor(x, y).blue()) >= 0xF0; // white text, smoothed
    }
    EXPECT_TRUE(white);

    EXPECT_EQ(dlg.DriveCombo()->PathAt(0), "/");
    EXPECT_EQ(dlg.itemAs<QComboBox>(kHostCombo)->currentText(), "X740 FTP");

    // Remote pane: the root with its directories first.
    CRemoteFileList* remote = dlg.RemoteList();
    EXPECT_EQ(Texts(remote, true), (std::vector<std::string>{"..", "a", "sub", "z.txt"}));
    EXPECT_TRUE(remote->IsDirectory(1));
    EXPECT_FALSE(remote->IsDirectory(3));

    // Into a directory and back by "..".
    DoubleClick(remote, "a");
    EXPECT_EQ(dlg.RemoteDirectory(), "/a/");
    EXPECT_EQ(Texts(remote, true), (std::vector<std::string>{"..", "b", "file.txt"}));
    DoubleClick(remote, "..");
    EXPECT_EQ(dlg.RemoteDirectory(), "/");
    DoubleClick(remote, "..");
    EXPECT_EQ(dlg.RemoteDirectory(), "/");

    // Upload: a new name, then over an existing one (Cancel, then Overwrite).
    localList->setCurrentRow(RowOf(localList, "up.txt"));
    Command(dlg, kUploadButton);
    EXPECT_EQ(ReadWholeFile(root + "/up.txt"), std::string(1500, 'u'));
    EXPECT_EQ(prompts.messages.back(), "Download OK");
    EXPECT_TRUE(prompts.asked.empty());
    localList->setCurrentRow(RowOf(localList, "z.txt"));
    Command(dlg, kUploadButton);
    EXPECT_EQ(prompts.asked, std::vector<std::string>{"z.txt"});
    EXPECT_EQ(prompts.messages.back(), "File not transmitted");
    EXPECT_EQ(ReadWholeFile(root + "/z.txt"), "server z");
    prompts.answer = true;
    Command(dlg, kUploadButton);
    EXPECT_EQ(ReadWholeFile(root + "/z.txt"), "local z");
    EXPECT_EQ(prompts.messages.back(), "Download OK");

    // Download over a local file asks; a refused RETR leaves the local file untouched.
    WriteWholeFile(root + "/z.txt", "server z again");
    Command(dlg, kReloadButton);
    prompts.answer = false;
    remote->setCurrentRow(RowOf(remote, "z.txt"));
    Command(dlg, kDownloadButton);
    EXPECT_EQ(prompts.asked.back(), "z.txt");
    EXPECT_EQ(ReadWholeFile(local + "/z.txt"), "local z");
    prompts.answer = true;
    Command(dlg, kDownloadButton);
    EXPECT_EQ(ReadWholeFile(local + "/z.txt"), "server z again");
    fs::remove(root + "/z.txt");
    const std::size_t messages = prompts.messages.size();
    Command(dlg, kDownloadButton);
    EXPECT_EQ(prompts.messages.size(), messages + 1);
    EXPECT_EQ(prompts.messages.back(), "File not transmitted");
    EXPECT_EQ(ReadWholeFile(local + "/z.txt"), "server z again");

    // Delete two levels down removes that file only.
    DoubleClick(remote, "a");
    DoubleClick(remote, "b");
    EXPECT_EQ(dlg.RemoteDirectory(), "/a/b/");
    remote->setCurrentRow(RowOf(remote, "file.txt"));
    Command(dlg, kDeleteButton);
    EXPECT_FALSE(fs::exists(root + "/a/b/file.txt"));
    EXPECT_EQ(ReadWholeFile(root + "/a/file.txt"), "level one");
    EXPECT_EQ(Texts(remote, true), std::vector<std::string>{".."});

    // A directory gone on the server: the reload falls back to the previous one.
    fs::remove_all(root + "/sub");
    DoubleClick(remote, "..");
    EXPECT_EQ(dlg.RemoteDirectory(), "/a/");
    fs::remove_all(root + "/a/b");
    DoubleClick(remote, "b");
    EXPECT_EQ(dlg.RemoteDirectory(), "/a/");

    // Local navigation: into [Docs], back by [..], and [..] at "/" is not listed.
    DoubleClick(localList, "[Docs]");
    EXPECT_EQ(dlg.LocalDirectory(), local + "/Docs");
    DoubleClick(localList, "[..]");
    EXPECT_EQ(dlg.LocalDirectory(), local);

    // A volume that cannot be opened keeps the directory and reselects its entry.
    CIconComboBox* drives = dlg.DriveCombo();
    drives->AddVolume(folder.Path() + "/no such volume");
    const int home = drives->currentIndex();
    drives->setCurrentIndex(drives->count() - 1);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dlg.LocalDirectory(), local);
    EXPECT_EQ(drives->currentIndex(), home);
    drives->AddVolume(local + "/Docs");
    drives->setCurrentIndex(drives->count() - 1);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dlg.LocalDirectory(), local + "/Docs");
    drives->setCurrentIndex(0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dlg.LocalDirectory(), "/");
    EXPECT_FALSE(localList->Contains("[..]"));
    drives->AddVolume(local);
    drives->setCurrentIndex(drives->count() - 1);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(dlg.LocalDirectory(), local);

    // OK keeps the local directory and quits after the closing wait.
    const auto slept = clock.slept();
    Command(dlg, mv::IDOK);
    EXPECT_EQ(clock.slept() - slept, 1000);
    EXPECT_FALSE(dlg.Session().IsConnected());
    EXPECT_EQ(mv::SettingsKey(store, kSettingsKey).readText(kLocalDirValue).value_or(""), local);
    EXPECT_EQ(QDir::currentPath().toStdString(), cwd);
}

TEST(FtpDlg, LocalColumnsStayApartAndAFolderIsNotSent) {
    App();
    TempFolder folder;
    namespace fs = std::filesystem;
    const std::string root = folder.Path() + "/server";
    const std::string local = folder.Path() + "/local";
    fs::create_directories(root);
    fs::create_directories(local + "/sub");
    // Enough files for a scroll bar; a size of nine digits and a long name, both this year.
    for (int i = 0; i < 30; ++i)
        WriteWholeFile(local + "/f" + std::to_string(100 + i) + ".txt", "f");
    const std::string big = local + "/big.bin";
    const std::string longName = local + "/a_name_far_too_long_for_its_column_of_the_list.txt";
    WriteWholeFile(big, "");
    fs::resize_file(big, 123456789); // sparse
    WriteWholeFile(longName, "l");
    std::tm dec9{};
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &dec9);
    dec9.tm_mon = 11;
    dec9.tm_mday = 9;
    dec9.tm_hour = 12;
    dec9.tm_min = 34;
    SetModified(big, std::mktime(&dec9));
    SetModified(longName, std::mktime(&dec9));
    const std::string store = folder.Path() + "/user.reg";
    setenv(mv::kUserStoreEnv, store.c_str(), 1);
    mv::SettingsKey(store, kSettingsKey).writeText(kLocalDirValue, local);
    ServedDialog served(root);
    ASSERT_TRUE(served.server.Running()) << served.server.Error();
    CFtpDlg& dlg = served.dlg;
    ASSERT_TRUE(dlg.Session().IsConnected());
    CLocalFileList* list = dlg.LocalList();
    ASSERT_TRUE(list->verticalScrollBar()->isVisible());

    // Just before each column, and at the right end of the list, nothing but background.
    const QColor back = xui::toQColor(mv::GetSysColor(mv::COLOR_WINDOW));
    for (const std::string& name :
         {std::string("big.bin"), fs::path(longName).filename().string()}) {
        QListWidgetItem* item = list->item(RowOf(list, name));
        list->scrollToItem(item);
        const QRect r = list->visualItemRect(item);
        const QImage shot = list->viewport()->grab().toImage();
        for (int end : {kLocalSizeX, kLocalMonthX, kLocalDayX, kLocalTimeX, shot.width()}) {
            int ink = 0;
            for (int x = end - kColumnGap; x < end; ++x)
                for (int y = r.top() + 1; y < r.bottom(); ++y)
                    ink += shot.pixelColor(x, y) != back;
            EXPECT_EQ(ink, 0) << name << " before x " << end;
        }
    }

    // "-->" on a folder: nothing goes out, the message says so.
    const int folderRow = RowOf(list, "[sub]");
    list->scrollToItem(list->item(folderRow));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(folderRow)).center());
    ASSERT_EQ(list->currentRow(), folderRow);
    QWidget* upload = dlg.item(kUploadButton);
    QTest::mouseClick(upload, Qt::LeftButton, {}, upload->rect().center());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(served.prompts.messages, std::vector<std::string>{"File not transmitted"});
    EXPECT_TRUE(served.prompts.asked.empty());
    EXPECT_TRUE(served.log.Has("F\tfile open"));
    EXPECT_TRUE(fs::is_empty(root));
}

TEST(FtpDlg, FailedConnectionLogsAndCloses) {
    App();
    TempFolder folder;
    setenv(mv::kUserStoreEnv, (folder.Path() + "/user.reg").c_str(), 1);
    int port = 0;
    {
        PyFtpdOptions options;
        PyFtpd server(options);
        ASSERT_TRUE(server.Running()) << server.Error();
        port = server.Port();
    }
    RecordingLog log;
    mv::FakeClock clock;
    CFtpDlg dlg;
    dlg.SetHost("127.0.0.1");
    dlg.SetLogList(&log);
    dlg.SetPort(port);
    dlg.SetClock(&clock);
    EXPECT_EQ(dlg.DoModal(), mv::IDCANCEL);
    EXPECT_EQ(log.lines.back(), "E\tERROR");
    EXPECT_EQ(clock.slept(), 1 + 5000 + 1);
}

TEST(FtpDlg, NamesThatLeaveTheFolderAreNeverDownloaded) {
    App();
    TempFolder folder;
    setenv(mv::kUserStoreEnv, (folder.Path() + "/user.reg").c_str(), 1);
    mv::SettingsKey(folder.Path() + "/user.reg", kSettingsKey).writeText(kLocalDirValue,
                                                                         folder.Path());
    using Data = FaultStep::Data;
    const std::string listing = "-rw-r--r-- 1 root root 12 Jan 1 12:00 ../escape.txt\r\n"
                                "-rw-r--r-- 1 root root 12 Jan 1 12:00 a\\b.txt\r\n";
    FaultServer server("220 ready\r\n",
                       {{"331 ok\r\n"}, {"230 in\r\n"}, {"200 I\r\n"},
                        {"257 \"/\"\r\n"}, {"250 ok\r\n"}, {"257 \"/\"\r\n"},
                        {"200 port\r\n"}, {"150 list\r\n", Data::Send, listing, "", "226 ok\r\n"}});
    RecordingLog log;
    TestPrompts prompts;
    mv::FakeClock clock;
    CFtpDlg dlg;
    dlg.SetHost("127.0.0.1");
    dlg.SetLogList(&log);
    dlg.SetPort(server.Port());
    dlg.SetClock(&clock);
    dlg.SetTimeout(2000);
    dlg.SetPrompts(&prompts);
    dlg.ShowModeless();
    ASSERT_TRUE(dlg.Session().IsConnected());
    CRemoteFileList* remote = dlg.RemoteList();
    EXPECT_EQ(Texts(remote, true), (std::vector<std::string>{"..", "../escape.txt", "a\\b.txt"}));
    for (const char* name : {"../escape.txt", "a\\b.txt"}) {
        remote->setCurrentRow(RowOf(remote, name));
        Command(dlg, kDownloadButton);
        EXPECT_EQ(prompts.messages.back(), "File not transmitted");
    }
    const auto sent = server.Commands();
    EXPECT_EQ(sent.back(), "LIST");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/../escape.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator{}),
              1); // the settings file only
}

TEST(FtpDlg, RemoteNamesWithBarsActOnThemselves) {
    App();
    TempFolder folder;
    namespace fs = std::filesystem;
    const std::string root = folder.Path() + "/server";
    const std::string local = folder.Path() + "/local";
    fs::create_directories(root + "/d/sub");
    fs::create_directories(root + "/d/p|q");
    fs::create_directories(local);
    WriteWholeFile(root + "/d/x|sub", "the bar file");
    WriteWholeFile(root + "/d/sub/x", "the other file");
    WriteWholeFile(root + "/d/p|q/in.txt", "inside");
    const std::string store = folder.Path() + "/user.reg";
    setenv(mv::kUserStoreEnv, store.c_str(), 1);
    mv::SettingsKey(store, kSettingsKey).writeText(kLocalDirValue, local);
    const std::string transcript = folder.Path() + "/transcript";
    ServedDialog served(root, transcript);
    ASSERT_TRUE(served.server.Running()) << served.server.Error();
    CFtpDlg& dlg = served.dlg;
    ASSERT_TRUE(dlg.Session().IsConnected());
    CRemoteFileList* remote = dlg.RemoteList();
    DoubleClick(remote, "d");
    EXPECT_EQ(Texts(remote, true), (std::vector<std::string>{"..", "p|q", "sub", "x|sub"}));

    remote->setCurrentRow(RowOf(remote, "x|sub"));
    Command(dlg, kDownloadButton);
    EXPECT_EQ(ReadWholeFile(local + "/x|sub"), "the bar file");
    EXPECT_FALSE(fs::exists(local + "/x"));
    Command(dlg, kDeleteButton);
    EXPECT_FALSE(fs::exists(root + "/d/x|sub"));
    EXPECT_EQ(ReadWholeFile(root + "/d/sub/x"), "the other file");

    DoubleClick(remote, "p|q");
    EXPECT_EQ(dlg.RemoteDirectory(), "/d/p|q/");
    EXPECT_EQ(Texts(remote, true), (std::vector<std::string>{"..", "in.txt"}));

    const std::string sent = ReadWholeFile(transcript);
    for (const char* line : {"RETR /d/x|sub\n", "DELE /d/x|sub\n", "CWD /d/p|q/\n"})
        EXPECT_NE(sent.find(line), std::string::npos) << line << " in\n" << sent;
}

TEST(FtpDlg, FilesOfBothListsShowTheIconOfTheirType) {
    App();
    struct TypeIcons : QFileIconProvider {
        using QFileIconProvider::icon;
        QIcon icon(const QFileInfo& info) const override {
            if (!info.fileName().endsWith(".txt"))
                return {};
            QPixmap red(16, 16);
            red.fill(Qt::red);
            return QIcon(red);
        }
    } icons;
    SetFileIconProvider(&icons);
    TempFolder folder;
    WriteWholeFile(folder.Path() + "/notes.txt", "n");
    CLocalFileList local;
    ASSERT_TRUE(local.Fill(folder.Path()));
    CRemoteFileList remote;
    RemoteRow row;
    row.name = "notes.txt";
    row.directoryField = "/d/";
    row.owner = "owner";
    row.month = "Jan";
    row.day = "1";
    row.timeOrYear = "2020";
    remote.Fill({row});
    for (FileListBase* list : std::initializer_list<FileListBase*>{&local, &remote}) {
        list->resize(300, 100);
        list->show();
        const QRect item = list->visualItemRect(list->item(RowOf(list, "notes.txt")));
        const QImage shot = list->viewport()->grab().toImage();
        EXPECT_EQ(shot.pixelColor(item.left() + kIconX + 8, item.center().y()), QColor(Qt::red))
            << list->ItemText(RowOf(list, "notes.txt"));
    }
    SetFileIconProvider(nullptr);
}
