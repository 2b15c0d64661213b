// Where the pages of a print job go. A job calls the sink for its document and page breaks
// and draws on a canvas; the sink decides what a page is: a printer or PDF file makes real
// pages, the preview draws the one page it shows without making any, and the counter makes
// none at all (the job's page counter then tells how many pages the print would have).
#pragma once

#include "platform/canvas.h"

#include <string>

namespace mv {

// The document name of every print job.
inline constexpr const char* kPrintDocumentName = "Morvelan Toolkit";

class PageSink {
public:
    virtual ~PageSink() = default;
    // Each step answers false on failure and keeps the reason for LastError.
    virtual bool StartDocument(const std::string& name) = 0;
    virtual bool EndDocument() = 0;
    virtual bool StartPage() = 0;
    virtual bool EndPage() = 0;
    // Drops the document begun (nothing of it stays).
    virtual void AbortDocument() = 0;
    virtual std::string LastError() const { return {}; }
};

// The preview: no document and no pages; the canvas shows the wanted page.
class PreviewSink final : public PageSink {
public:
    bool StartDocument(const std::string&) override { return true; }
    bool EndDocument() override { return true; }
    bool StartPage() override { return true; }
    bool EndPage() override { return true; }
    void AbortDocument() override {}
};

// The page count of the preview: counts the pages begun and ended, makes nothing.
class CountingSink final : public PageSink {
public:
    bool StartDocument(const std::string&) override { return true; }
    bool EndDocument() override { return true; }
    bool StartPage() override {
        ++started;
        return true;
    }
    bool EndPage() override {
        ++ended;
        return true;
    }
    void AbortDocument() override {}

    int started = 0;
    int ended = 0;
};

// A canvas that draws nothing (the counting run of a job). Text measures like the recording
// canvas: half the em height per character.
class NullCanvas final : public Canvas {
public:
    FontDesc selectFont(const FontDesc& font) override { return swap(font_, font); }
    PenDesc selectPen(const PenDesc& pen) override { return swap(pen_, pen); }
    BrushDesc selectBrush(const BrushDesc& brush) override { return swap(brush_, brush); }
    COLORREF setTextColor(COLORREF color) override { return swap(text_, color); }
    COLORREF setBkColor(COLORREF color) override { return swap(back_, color); }
    int setBkMode(int mode) override { return swap(bkMode_, mode); }
    unsigned setTextAlign(unsigned align) override { return swap(align_, align); }
    int setMapMode(int mode) override { return swap(mapMode_, mode); }
    void setViewportOrg(POINT) override {}
    void saveState() override {}
    void restoreState() override {}
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}
    void rectangle(const RECT&) override {}
    void ellipse(const RECT&) override {}
    void polygon(const std::vector<POINT>&) override {}
    void fillRect(const RECT&, COLORREF) override {}
    void frameRect(const RECT&, COLORREF) override {}
    void setPixel(int, int, COLORREF) override {}
    void drawFocusRect(const RECT&) override {}
    void textOut(int, int, std::string_view) override {}
    void drawText(std::string_view, const RECT&, unsigned) override {}
    SIZE textExtent(std::string_view text) override;
    TextMetrics textMetrics() override;
    void drawBitmap(int, int, const BitmapRef&) override {}
    void stretchBitmap(const RECT&, const BitmapRef&) override {}
    void drawImage(int, int, const PixelImage&) override {}
    void stretchImage(const RECT&, const PixelImage&) override {}

private:
    template <class T> static T swap(T& slot, const T& value) {
        T old = slot;
        slot = value;
        return old;
    }
    int em() const;

    FontDesc font_;
    PenDesc pen_;
    BrushDesc brush_;
    COLORREF text_ = 0;
    COLORREF back_ = 0xFFFFFF;
    int bkMode_ = OPAQUE;
    unsigned align_ = TA_LEFT | TA_TOP;
    int mapMode_ = MM_TEXT;
};

} // namespace mv
