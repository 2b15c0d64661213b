// What the module model asks of the rest of the application: dialogs, the application's online
// and display state, messages and the printing helpers. The model calls these through one
// interface; the application installs its implementation at start-up, and until then (and in
// tests) every call does nothing and answers with a neutral value.
#pragma once

#include <cstdint>
#include <string>

class CModule;
class CChannelModule;
class CControllerModule;
class CModuleDescription;
class CModuleTile;
struct CModulParam;

namespace mv {

class Canvas;

// A message of the program's own message dialog.
struct AppMessage {
    std::string line1;
    std::string line2;
    std::string caption;
    int bitmap = 150; // 150 error, 159 information, 188 question
    std::uint32_t captionColour = 255;
};

// An error message: the given lines under the caption of language text 5000.
AppMessage ErrorMessage(const std::string& line1, const std::string& line2 = {});

class IAppHooks {
public:
    virtual ~IAppHooks() = default;

    // Language text by number; "???" when unknown.
    virtual std::string LanguageText(int number);

    // Application state.
    virtual bool IsOnline() { return false; }        // the frame's online flag
    virtual bool DisplayScaled() { return true; }    // "Skaliert" display of live values
    virtual bool DisplayHex() { return false; }      // "HEX" display of live values
    virtual std::uint32_t LinkHandle() { return 0; } // the application's Portwire link
    // The frame's upload flag: 1 while an upload dialog builds modules from a controller.
    virtual int UploadFlag() { return 0; }

    // Dialogs. Each returns the dialog's result (0 when nothing was shown).
    virtual int ConfigureModule(CModuleTile* /*tile*/, CModule* /*module*/) { return 0; }
    virtual int ConfigureController(CModuleTile* /*tile*/, CControllerModule* /*module*/) {
        return 0;
    }
    virtual int EditAddressParam(CModulParam& /*param*/) { return 0; }
    virtual int EditChoiceParam(CModulParam& /*param*/) { return 0; }
    virtual int EditRadioParam(CModulParam& /*param*/) { return 0; }
    virtual int EditRangeParam(CModulParam& /*param*/) { return 0; }
    virtual int OpenOnlineModule(const CModuleDescription* /*description*/, int /*station*/,
                                 int /*position*/, int /*tileValue*/, CChannelModule* /*module*/) {
        return 0;
    }
    virtual int OpenOnlineController(const CModuleDescription* /*description*/, int /*station*/,
                                     CControllerModule* /*module*/) {
        return 0;
    }
    // Clears the main view's and the frame's caches of live values.
    virtual void ClearLiveCaches() {}
    // The IP address and port dialog, filled with the values; false on Cancel.
    virtual bool AskAddress(std::uint32_t& /*ip*/, int& /*port*/) { return false; }
    virtual void ShowMessage(const AppMessage& /*message*/) {}
    virtual void SetWaitCursor(bool /*on*/) {}

    // The document: share an input image out among a station's modules; set a station's tiles
    // offline.
    virtual void DistributeInputs(int /*station*/, const std::uint8_t* /*bytes*/) {}
    virtual void SetStationOffline(int /*station*/) {}

    // Printing. PageWanted: the element on the page being produced is drawn (false while a
    // preview skips other pages). NextPrintPage starts a new page when `needed` more units do not
    // fit above the page limit. DrawLabelFile interprets a label layout file for a tile; false
    // when the file cannot be opened.
    virtual bool PageWanted() { return true; }
    virtual void NextPrintPage(Canvas& /*canvas*/, int& /*y*/, int /*needed*/, int /*pageLimit*/) {}
    virtual bool DrawLabelFile(Canvas& /*canvas*/, int& /*y*/, const std::string& /*path*/,
                               CModuleTile* /*tile*/) {
        return false;
    }
};

// The installed hooks (a do-nothing set until the application installs its own).
IAppHooks& appHooks();
// Installs hooks (not owned); nullptr restores the do-nothing set.
void setAppHooks(IAppHooks* hooks);

// Shorthand for appHooks().LanguageText(number).
std::string LanguageText(int number);

} // namespace mv
