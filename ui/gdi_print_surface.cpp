// The GDI print surface. Every handle that a job acquires (the printer's
// device context, the dialog's two settings blocks, the printout font and
// its selection) is held by a move-only owner, so a job frees all of them on
// every path, an early return or an exception included.
#include "ui/gdi_print_surface.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "ui/gdi_handles.h"

namespace lyro {

namespace {

constexpr DWORD kDialogFlags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
static_assert(kDialogFlags == 0x10010C);
// The records as the 32-bit program passes them.
static_assert(sizeof(void*) != 4 || (sizeof(PRINTDLGA) == 66 && sizeof(DOCINFOA) == 20));

class GdiPrintJob final : public PrintJob {
public:
    GdiPrintJob(GlobalBlock devmode, GlobalBlock devnames, CreatedDc dc, const PrintMeasures& m)
        : devmode_(std::move(devmode)), devnames_(std::move(devnames)), dc_(std::move(dc)),
          measures_(m) {}

    // A job given up before its end leaves no half document behind.
    ~GdiPrintJob() override {
        selection_.restore();
        if (page_open_) EndPage(dc_.get());
        if (dc_) AbortDoc(dc_.get());
    }
    GdiPrintJob(const GdiPrintJob&) = delete;
    GdiPrintJob& operator=(const GdiPrintJob&) = delete;

    const PrintMeasures& measures() const override { return measures_; }

    void create_font() override {
        // 11 points at the printer's resolution; no face: the system picks a
        // fixed-pitch one.
        font_ = GdiFont(CreateFontA(-MulDiv(11, measures_.inch_height, 72), 0, 0, 0, FW_NORMAL,
                                    FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH, nullptr));
    }
    void select_font() override {
        if (dc_ && font_ && !selection_.active()) selection_ = Selection(dc_.get(), font_.get());
    }
    void restore_font() override { selection_.restore(); }
    void delete_font() override {
        selection_.restore();
        font_.reset();
    }

    void start_page() override {
        if (dc_ && !page_open_) page_open_ = StartPage(dc_.get()) > 0;
    }
    void end_page() override {
        if (dc_ && page_open_) EndPage(dc_.get());
        page_open_ = false;
    }
    void text(int x, int y, std::string_view text) override {
        if (!dc_) return;
        const auto n = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
        TextOutA(dc_.get(), x, y, text.data(), n);
    }

    void end() override {
        if (!dc_) return;
        selection_.restore();
        end_page();
        EndDoc(dc_.get());
        dc_.reset();
        devmode_.reset();
        devnames_.reset();
    }

private:
    GlobalBlock devmode_;
    GlobalBlock devnames_;
    GdiFont font_;  // outlives the DC's selection, which restore() ends first
    CreatedDc dc_;
    Selection selection_;
    PrintMeasures measures_;
    bool page_open_ = false;
};

// The chosen printer's measures, taken with the device's default font.
PrintMeasures measure_printer(HDC dc) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SetMapperFlags(dc, 0);
    SetMapMode(dc, MM_TEXT);
    PrintMeasures m;
    m.line_height = static_cast<int>(tm.tmHeight + tm.tmExternalLeading);
    m.line_step = m.line_height + m.line_height / 8;
    m.page_width = GetDeviceCaps(dc, HORZRES);
    m.page_height = GetDeviceCaps(dc, VERTRES);
    m.left_margin = GetDeviceCaps(dc, LOGPIXELSX);
    m.inch_height = GetDeviceCaps(dc, LOGPIXELSY);
    return m;
}

}  // namespace

std::unique_ptr<PrintJob> GdiPrintSurface::start_job(std::string_view document_name,
                                                     OwnerWindow owner) {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(owner));
    pd.Flags = kDialogFlags | options_.extra_dialog_flags;
    const BOOL chosen = PrintDlgA(&pd);
    // Owned from here on, whatever the dialog's answer.
    GlobalBlock devmode(pd.hDevMode);
    GlobalBlock devnames(pd.hDevNames);
    CreatedDc dc(pd.hDC);
    if (!chosen || !dc) return nullptr;

    const PrintMeasures measures = measure_printer(dc.get());
    const std::string name(document_name);
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = name.c_str();
    doc.lpszOutput = options_.output_file.empty() ? nullptr : options_.output_file.c_str();
    // A document that cannot start (no spooler, printer gone) prints nothing;
    // drawing on would only go nowhere.
    if (StartDocA(dc.get(), &doc) <= 0) return nullptr;

    return std::make_unique<GdiPrintJob>(std::move(devmode), std::move(devnames), std::move(dc),
                                         measures);
}

}  // namespace lyro
