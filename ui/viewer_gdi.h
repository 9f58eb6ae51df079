// Owners for the GDI objects that one repaint of the song viewer holds: the
// paint session of the window, the display font, and the font's selection
// into the paint DC. Each is move-only, so exactly one owner gives its
// object back, on every path out of the repaint.
#pragma once

#include <windows.h>

#include <utility>

namespace lyro {

// BeginPaint .. EndPaint of one window. The DC belongs to the paint session:
// it is neither deleted nor released, EndPaint gives it back.
class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintSession() {
        if (window_) EndPaint(window_, &paint_);
    }
    PaintSession(PaintSession&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), paint_(other.paint_), dc_(other.dc_) {}
    PaintSession& operator=(PaintSession&&) = delete;
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;

    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A font that this program created: deleted when its owner goes.
class GdiFont {
public:
    GdiFont() = default;
    explicit GdiFont(HFONT font) : font_(font) {}
    ~GdiFont() { reset(); }
    GdiFont(GdiFont&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
    GdiFont& operator=(GdiFont&& other) noexcept {
        if (this != &other) {
            reset();
            font_ = std::exchange(other.font_, nullptr);
        }
        return *this;
    }
    GdiFont(const GdiFont&) = delete;
    GdiFont& operator=(const GdiFont&) = delete;

    HFONT get() const { return font_; }
    void reset() {
        if (font_) DeleteObject(std::exchange(font_, nullptr));
    }

private:
    HFONT font_ = nullptr;
};

// An object selected into a DC. It keeps the DC it selected into and the
// object it replaced, and selects that one back into the same DC when it
// goes, so the DC never holds an object that is about to be deleted.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object)
        : dc_(dc), kept_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (dc_ && kept_) SelectObject(dc_, kept_);
    }
    SelectGuard(SelectGuard&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), kept_(std::exchange(other.kept_, nullptr)) {}
    SelectGuard& operator=(SelectGuard&&) = delete;
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ kept_;
};

}  // namespace lyro
