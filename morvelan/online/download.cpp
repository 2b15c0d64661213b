#include "morvelan/online/download.h"

#include "morvelan/core/app_state.h"
#include "morvelan/core/controller_module.h"
#include "morvelan/core/morvelan_doc.h"
#include "morvelan/core/morvelan_doc_hooks.h"
#include "morvelan/online/online_messages.h"
#include "portwire/include/Portwire.h"

#include <array>
#include <cstdint>

namespace morvelan {

namespace {

// Room to gather into: more than a frame, so an image that does not fit shows as too long.
constexpr int kGatherRoom = 4096;
// Room for the reply of the saved-parameter read.
constexpr int kReplyRoom = 512;

using Buffer = std::array<std::uint8_t, kGatherRoom>;

// The failure report: the wait cursor ends, then the error of the code.
void FailureReport(CWaitCursorGuard& wait, int code) {
    wait.End();
    ShowOnlineError(CommErrorText(code));
}

void RequestSavedParameters(CControllerConnection& connection) {
    std::array<std::uint8_t, kReplyRoom> reply{};
    A_ReadSavedModulParameters(connection.m_Link, reply.data());
}

// The master parameters of the station's head; a head without master parameters (a picture
// head) has nothing to write.
int WriteMasterParameters(CModuleTile* head, LinkHandle link) {
    auto* controller = head ? dynamic_cast<CControllerModule*>(&head->Module()) : nullptr;
    return controller ? controller->WriteMasterParameters(link) : 1;
}

int WriteImage(CMorvelanAppBase& app, const Buffer& image, int imageLength) {
    return A_WriteModulParameters_2(app.m_Link, imageLength, image.data(),
                                    app.m_Ini.writeTimeout);
}

// A failure: one report, then the link is closed.
void Fail(CMorvelanAppBase& app, CWaitCursorGuard& wait, int code) {
    FailureReport(wait, code);
    app.CloseConnection();
}

// Everything was written: the message, the saved parameters asked for, the link closed.
void Done(CMorvelanAppBase& app, CWaitCursorGuard& wait) {
    wait.End();
    ShowOnlineInformation(mv::LanguageText(kTextTransferDone));
    RequestSavedParameters(app);
    app.CloseConnection();
}

// Path of equal modules: module parameters, then master parameters.
void WriteParameters(CMorvelanAppBase& app, CWaitCursorGuard& wait, const Buffer& image,
                     int imageLength, CModuleTile* head) {
    if (WriteImage(app, image, imageLength) != 1) {
        FailureReport(wait, A_GetLastError());
        RequestSavedParameters(app);
        app.CloseConnection();
        return;
    }
    if (WriteMasterParameters(head, app.m_Link) != 1)
        return Fail(app, wait, A_GetLastError());
    Done(app, wait);
}

// Path of differing modules: ask, then module table and module parameters.
void WriteConfiguration(CMorvelanAppBase& app, CMorvelanDoc& doc, CWaitCursorGuard& wait,
                        int station, const Buffer& image, int imageLength) {
    ShowOnlineError(mv::LanguageText(kTextMismatch));
    mv::AppMessage question;
    question.line1 = mv::LanguageText(kTextDownloadQuestion);
    question.caption = mv::LanguageText(kTextInformation);
    question.bitmap = kSymbolQuestion;
    question.captionColour = kCaptionBlue;
    const int answer = ShowOnlineMessage(question, 1);
    wait.End();
    if (answer == kResultCancel)
        return;

    wait.Begin();
    Buffer table{};
    int tableLength = 0;
    const int complete = doc.BuildModuleTable(station, table.data(), kGatherRoom, tableLength);
    if (complete != 1 || tableLength > kFrameDataBytes)
        return Fail(app, wait, kDataSizeError);
    // A failed connection shows as the failure of the next write.
    app.OpenConnectionPlain(0);
    if (A_WriteModulConfiguration(app.m_Link, tableLength, table.data()) != 1)
        return Fail(app, wait, A_GetLastError());
    if (WriteImage(app, image, imageLength) != 1)
        return Fail(app, wait, A_GetLastError());
    Done(app, wait);
}

} // namespace

void RunDownload(CMorvelanAppBase& app, CMorvelanDoc& doc, CModuleTile* selected) {
    if (mv::docHooks().UnknownModule()) {
        mv::AppMessage message = mv::ErrorMessage("Unknown modul in project", "Download not possible");
        ShowOnlineMessage(message);
        return;
    }
    if (!selected)
        return;
    const int station = selected->m_Station;
    const CStation* target = doc.Station(station);
    if (!target || target->TileCount() == 0)
        return;
    CModuleTile* head = selected->IsController() ? selected : target->Tile(0);

    // Both paths write the parameter image: one that does not fit a frame is refused before
    // anything is sent.
    Buffer image{};
    int imageLength = 0;
    doc.GatherGroupData(station, image.data(), kGatherRoom, imageLength);
    CWaitCursorGuard wait;
    if (imageLength > kFrameDataBytes) {
        FailureReport(wait, kDataSizeError);
        return;
    }

    const int check = doc.CheckAgainstController(station);
    if (check == -1) {
        app.CloseConnection();
        return;
    }
    if (check == 1)
        WriteParameters(app, wait, image, imageLength, head);
    else
        WriteConfiguration(app, doc, wait, station, image, imageLength);
}

} // namespace morvelan
