// The print jobs and their preview page counts.
#include "morvelan/core/label_printer.h"
#include "morvelan/core/module_description.h"
#include "morvelan/core/module_tile.h"
#include "morvelan/core/morvelan_doc.h"

#include <algorithm>

namespace mv {
// The frame every job runs in: the cursor, flags and counter reset, the document and its
// first page begun (unless previewing), and at the end the open page and the document ended,
// or the document dropped after a failure.
struct CLabelPrinter::Job {
    Job(CLabelPrinter& p, int wantedPage, int preview) : p(p), preview(preview) {
        p.previous_ = SwapActive(&p);
        p.failed_ = false;
        p.error_.clear();
        p.pageOpen_ = false;
        p.documentOpen_ = false;
        p.boxes_ = 0;
        PrintState& s = p.state_;
        s.y = 0;
        s.newPage = 0;
        s.pageCounter = 0;
        s.wantedPage = wantedPage;
        s.preview = preview;
        appHooks().SetWaitCursor(true);
        p.dc_.setBkMode(TRANSPARENT);
        p.dc_.setTextColor(0);
        p.dc_.selectBrush(BrushDesc::solid(0xFFFFFF));
        p.dc_.selectPen(PenDesc{PS_SOLID, 1, 0});
        if (preview == 0) {
            if (!p.sink_.StartDocument(kPrintDocumentName)) {
                p.Fail(p.sink_.LastError());
            } else {
                p.documentOpen_ = true;
                p.StartPageNow();
            }
        }
        s.pageCounter = 1;
    }

    PrintResult Finish() {
        if (preview == 0 && p.documentOpen_) {
            p.EndPageNow();
            if (!p.failed_ && !p.sink_.EndDocument())
                p.Fail(p.sink_.LastError());
            if (p.failed_)
                p.sink_.AbortDocument();
            p.documentOpen_ = false;
        }
        appHooks().SetWaitCursor(false);
        SwapActive(p.previous_);
        PrintResult r;
        r.ok = !p.failed_;
        r.error = p.error_;
        return r;
    }

    CLabelPrinter& p;
    int preview;
};

const CStation* CLabelPrinter::SelectedStation(int& index) {
    index = -1;
    const CMorvelanDoc* doc = context_.doc;
    for (int s = 0; doc && context_.selected && s < doc->StationCount(); ++s) {
        const CStation* station = doc->Station(s);
        index = station->IndexOf(context_.selected);
        if (index >= 0)
            return station;
    }
    // Without a selected tile the job makes no page.
    state_.pageCounter = 0;
    return nullptr;
}

void CLabelPrinter::PrintTileLabel(CModuleTile& tile, int boxes) {
    boxes_ = boxes;
    const CModuleDescription* description = tile.Description();
    if (!description) {
        state_.y -= kLabelStep;
        return;
    }
    LabelContext label = tile.Labels();
    label.pageLimit = state_.printableHeight;
    tile.Module().PrintLabel(dc_, boxes, state_.y, *description, label);
}

void CLabelPrinter::PrintStation(const CStation& station, int boxes) {
    if (station.TileCount() < 1)
        return;
    if (state_.y % 10 != 0) {
        state_.y -= kLabelStep;
        EnsurePageSpace(state_.y);
    }
    PrintTileLabel(*station.Tile(0), boxes);
    for (int k = 1; k < station.TileCount() && !failed_; ++k) {
        CModuleTile& tile = *station.Tile(k);
        if (k % 2 == 1) {
            StartPendingPage();
            if (Drawn())
                DrawLabelFrame(dc_, 20, state_.y, boxes, 0, &tile);
            PrintTileLabel(tile, boxes);
        } else {
            PrintTileLabel(tile, 0);
            EnsurePageSpace(state_.y);
        }
    }
}

PrintResult CLabelPrinter::PrintProjectLabels(int wantedPage, int boxes, int preview,
                                              int copies) {
    Job job(*this, wantedPage, preview);
    for (int copy = 0; copy < copies && !failed_; ++copy) {
        for (int s = 0; context_.doc && s < context_.doc->StationCount() && !failed_; ++s)
            PrintStation(*context_.doc->Station(s), boxes);
    }
    return job.Finish();
}

PrintResult CLabelPrinter::PrintControllerLabels(int wantedPage, int boxes, int preview,
                                                 int copies) {
    int index = -1;
    const CStation* station = SelectedStation(index);
    if (!station)
        return {};
    Job job(*this, wantedPage, preview);
    for (int copy = 0; copy < copies && !failed_; ++copy)
        PrintStation(*station, boxes);
    return job.Finish();
}

PrintResult CLabelPrinter::PrintModuleLabels(int wantedPage, int boxes, int preview,
                                             int copies) {
    int index = -1;
    const CStation* station = SelectedStation(index);
    if (!station)
        return {};
    Job job(*this, wantedPage, preview);
    CModuleTile& tile = *station->Tile(index);
    for (int copy = 0; copy < copies && !failed_; ++copy) {
        if (index == 0 || tile.IsController()) {
            PrintTileLabel(tile, boxes);
        } else {
            // One label covers a pair: the board at the even slot and the one after it.
            const int slot = index - 1;
            const int first = slot % 2 == 0 ? index : index - 1;
            CModuleTile& lead = *station->Tile(first);
            StartPendingPage();
            if (Drawn())
                DrawLabelFrame(dc_, 20, state_.y, boxes, 0, &lead);
            PrintTileLabel(lead, boxes);
            if (CModuleTile* second = station->Tile(first + 1))
                PrintTileLabel(*second, 0);
            else
                state_.y -= kLabelStep;
        }
        EnsurePageSpace(state_.y);
    }
    return job.Finish();
}

PrintResult CLabelPrinter::PrintProjectPage(int wantedPage, int preview, int pageHeight) {
    Job job(*this, wantedPage, preview);
    const int height = pageHeight - kProjectPageMargin;
    state_.y = kProjectPageTop;
    DrawPageFooter(dc_, height);
    DrawProjectHeader(dc_, state_.y);
    for (int s = 0; context_.doc && s < context_.doc->StationCount() && !failed_; ++s) {
        const CStation& station = *context_.doc->Station(s);
        for (int k = 0; k < station.TileCount() && !failed_; ++k) {
            CModuleTile& tile = *station.Tile(k);
            if (const CModuleDescription* d = tile.Description())
                tile.Module().PrintListLine(dc_, 5, state_.y, height, *d);
        }
    }
    return job.Finish();
}

PrintResult CLabelPrinter::Run(int mode, int wantedPage, int boxes, int preview, int copies,
                               int pageHeight) {
    switch (mode) {
    case kPrintProjectPage:
        return PrintProjectPage(wantedPage, preview, pageHeight);
    case kPrintProjectLabels:
        return PrintProjectLabels(wantedPage, boxes, preview, copies);
    case kPrintControllerLabels:
        return PrintControllerLabels(wantedPage, boxes, preview, copies);
    case kPrintModuleLabels:
        return PrintModuleLabels(wantedPage, boxes, preview, copies);
    default:
        state_.pageCounter = 0;
        return {};
    }
}

int PreviewPageCount(int mode, PrintState& state, const PrintContext& context, int copies,
                     int pageHeight) {
    NullCanvas dc;
    dc.setMapMode(MM_LOMETRIC);
    CountingSink sink;
    CLabelPrinter printer(dc, sink, state, context);
    printer.Run(mode, 0, 1, 0, copies, pageHeight);
    return state.pageCounter;
}

int PreviewProjectLabels(PrintState& state, const PrintContext& context, int copies) {
    return PreviewPageCount(kPrintProjectLabels, state, context, copies, state.printableHeight);
}

int PreviewControllerLabels(PrintState& state, const PrintContext& context, int copies) {
    return PreviewPageCount(kPrintControllerLabels, state, context, copies,
                            state.printableHeight);
}

int PreviewModuleLabels(PrintState& state, const PrintContext& context, int copies) {
    return PreviewPageCount(kPrintModuleLabels, state, context, copies, state.printableHeight);
}

} // namespace mv
