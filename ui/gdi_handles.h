// Owners for the GDI handles that songdesk holds: the viewer's paint
// session and display font, the printout's printer DC, settings blocks and
// font, and an object's selection into a DC. Each is move-only, so exactly
// one owner gives its handle back, on every path, an early return or an
// exception included.
#pragma once

#include <windows.h>

#include <utility>

namespace lyro {

// A handle with one way to free it.
template <typename Handle, typename Free>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = std::exchange(other.h_, nullptr);
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset() {
        if (h_) Free{}(std::exchange(h_, nullptr));
    }

private:
    Handle h_ = nullptr;
};

struct FreeGlobal {
    void operator()(HGLOBAL h) const { GlobalFree(h); }
};
// For device contexts that were created (the print dialog's printer DC):
// those are deleted. A DC got from a window is released or ended instead,
// by an owner that knows the window; the two must never be mixed up.
struct DeleteCreatedDc {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteFont {
    void operator()(HFONT f) const { DeleteObject(f); }
};

using GlobalBlock = Owned<HGLOBAL, FreeGlobal>;
using CreatedDc = Owned<HDC, DeleteCreatedDc>;
// A font that this program created.
using GdiFont = Owned<HFONT, DeleteFont>;

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

// GetDC .. ReleaseDC of one window: a DC to ask things of, not to paint in.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC. It keeps the DC it selected into and the
// object it replaced, and selects that one back into the same DC when it
// is restored or goes, so the DC never holds an object about to be deleted.
class Selection {
public:
    Selection() = default;
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc && object ? dc : nullptr), kept_(dc_ ? SelectObject(dc, object) : nullptr) {}
    ~Selection() { restore(); }
    Selection(Selection&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), kept_(std::exchange(other.kept_, nullptr)) {}
    Selection& operator=(Selection&& other) noexcept {
        if (this != &other) {
            restore();
            dc_ = std::exchange(other.dc_, nullptr);
            kept_ = std::exchange(other.kept_, nullptr);
        }
        return *this;
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    bool active() const { return dc_ != nullptr; }
    void restore() {
        if (dc_ && kept_) SelectObject(dc_, kept_);
        dc_ = nullptr;
        kept_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ kept_ = nullptr;
};

}  // namespace lyro
