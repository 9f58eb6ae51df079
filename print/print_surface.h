// The printer as the printouts see it: a job started through the print
// dialog, the page measures of the chosen printer, pages, text at device
// positions and the printout font. The Windows program prints through GDI;
// tests record what would have been printed.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace lyro {

// The window that owns the print dialog, as an opaque value (a window
// handle on Windows); 0 is no owner.
enum class OwnerWindow : std::uintptr_t {};

// The chosen printer's measures in device pixels, taken once per job.
struct PrintMeasures {
    int line_height = 0;  // height + external leading of the default font
    int line_step = 0;    // line height + line height / 8
    int page_width = 0;   // width of the printable area
    int page_height = 0;  // height of the printable area; 0 when unknown
    int left_margin = 0;  // one inch across
    int inch_height = 0;  // one inch down
};

// One started document. The printout calls these in its own order; whatever
// is still held when the job is destroyed (a selected or created font, the
// printer itself) is released then, so an early exit leaks nothing.
class PrintJob {
public:
    virtual ~PrintJob() = default;

    virtual const PrintMeasures& measures() const = 0;

    // The printout font: 11 points at the printer's resolution, fixed pitch.
    virtual void create_font() = 0;
    // Selects the printout font, keeping the font that it replaces.
    virtual void select_font() = 0;
    // Selects the kept font back.
    virtual void restore_font() = 0;
    virtual void delete_font() = 0;

    virtual void start_page() = 0;
    virtual void end_page() = 0;
    // Draws all of `text` with its top left corner at (x, y).
    virtual void text(int x, int y, std::string_view text) = 0;

    // Ends the document and lets the printer go.
    virtual void end() = 0;
};

class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    // Lets the user choose a printer and starts a document of that name.
    // Returns no job when the dialog was cancelled or printing cannot start;
    // nothing has been printed then. The caller owns the job.
    virtual std::unique_ptr<PrintJob> start_job(std::string_view document_name,
                                                OwnerWindow owner) = 0;
};

// The document name of both printouts.
inline constexpr std::string_view kPrintDocumentName = "Songbook Printout";

}  // namespace lyro
