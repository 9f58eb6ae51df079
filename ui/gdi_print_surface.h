// Printing through GDI: the common print dialog chooses the printer, and the
// printouts draw on the device context that it returns.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "print/print_surface.h"

namespace lyro {

struct GdiPrintOptions {
    // Added to the print dialog's own flags; PD_RETURNDEFAULT takes the
    // default printer without showing the dialog.
    DWORD extra_dialog_flags = 0;
    // Where the printer's output goes instead of its port; empty for the port.
    std::string output_file;
};

class GdiPrintSurface final : public PrintSurface {
public:
    GdiPrintSurface() = default;
    explicit GdiPrintSurface(GdiPrintOptions options) : options_(std::move(options)) {}

    // Shows the print dialog and starts the document. No job when the user
    // cancels, the dialog fails or the document cannot be started; every
    // handle of the dialog is freed then.
    std::unique_ptr<PrintJob> start_job(std::string_view document_name,
                                        OwnerWindow owner) override;

private:
    GdiPrintOptions options_;
};

inline OwnerWindow owner_window(HWND window) {
    return OwnerWindow{reinterpret_cast<std::uintptr_t>(window)};
}

}  // namespace lyro
