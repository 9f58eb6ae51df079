// A printer for the GDI printing test. Where the system has a default
// printer, that one is used (its output is sent to a file, never to paper).
// Under Wine without one, a PostScript printer is installed for the test's
// duration, with the generic printer description that Wine's spooler
// carries; it is removed again afterwards. Anywhere else there is none, and
// why() says so.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <winspool.h>

#include <string>

namespace lyro::test {

// Whether the print dialog would hand out a default printer.
inline bool has_default_printer() {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT;
    if (!PrintDlgA(&pd)) return false;
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    return true;
}

class TestPrinter {
public:
    TestPrinter() {
        // A run that was killed leaves its printer behind, as the default,
        // with its printer description gone: printing to it can hang.
        remove_stale_test_printers();
        if (has_default_printer()) {
            ready_ = true;
            return;
        }
        if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
            why_ = "no default printer is installed on this system";
            return;
        }
        install_wine_printer();
    }
    ~TestPrinter() { remove_wine_printer(); }
    TestPrinter(const TestPrinter&) = delete;
    TestPrinter& operator=(const TestPrinter&) = delete;

    bool ready() const { return ready_; }
    const std::string& why() const { return why_; }

private:
    bool fail(const std::string& step) {
        why_ = "Wine has no printer and installing one failed at " + step + " (error " +
               std::to_string(GetLastError()) + ")";
        return false;
    }

    bool write_ppd() {
        // Wine's spooler keeps a generic PostScript printer description as a
        // resource; it is what Wine gives printers that come without one.
        HMODULE spooler = GetModuleHandleA("winspool.drv");
        HRSRC res = spooler ? FindResourceA(spooler, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
        HGLOBAL loaded = res ? LoadResource(spooler, res) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes) return fail("finding the generic printer description");
        char dir[MAX_PATH] = {};
        DWORD needed = 0;
        if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir),
                                        sizeof dir, &needed))
            return fail("GetPrinterDriverDirectoryA");
        CreateDirectoryA(dir, nullptr);
        ppd_ = std::string(dir) + "\\" + tag_ + ".ppd";
        HANDLE file = CreateFileA(ppd_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return fail("writing " + ppd_);
        DWORD written = 0;
        const DWORD size = SizeofResource(spooler, res);
        const BOOL ok = WriteFile(file, bytes, size, &written, nullptr);
        CloseHandle(file);
        return ok && written == size ? true : fail("writing " + ppd_);
    }

    void install_wine_printer() {
        tag_ = kTagPrefix + std::to_string(GetCurrentProcessId());
        if (!write_ppd()) return;
        DRIVER_INFO_3A driver{};
        driver.cVersion = 3;
        driver.pName = tag_.data();
        std::string ps_driver = "wineps.drv";
        driver.pDriverPath = ps_driver.data();
        driver.pConfigFile = ps_driver.data();
        driver.pDataFile = ppd_.data();
        std::string raw = "RAW";
        driver.pDefaultDataType = raw.data();
        if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES))
            return void(fail("AddPrinterDriverExA"));
        driver_added_ = true;

        PRINTER_INFO_2A info{};
        info.pPrinterName = tag_.data();
        std::string port = "FILE:";
        std::string processor = "WinPrint";
        info.pPortName = port.data();
        info.pDriverName = tag_.data();
        info.pPrintProcessor = processor.data();
        info.pDatatype = raw.data();
        HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        if (!printer) return void(fail("AddPrinterA"));
        ClosePrinter(printer);
        printer_added_ = true;
        if (!SetDefaultPrinterA(tag_.c_str())) return void(fail("SetDefaultPrinterA"));
        ready_ = has_default_printer();
        if (!ready_) why_ = "the printer installed for the test is not taken as the default";
    }

    void remove_wine_printer() {
        // A printer is added only once its driver is.
        if (printer_added_) remove_printer(tag_);
        else if (driver_added_) DeletePrinterDriverA(nullptr, nullptr, tag_.data());
        if (!ppd_.empty()) DeleteFileA(ppd_.c_str());
    }

    // Removes a printer, its driver (named like it) and the spooler's own
    // copy of its description.
    static void remove_printer(std::string name) {
        HANDLE printer = nullptr;
        PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        std::string installed_ppd;
        if (OpenPrinterA(name.data(), &printer, &access)) {
            installed_ppd = driver_data_file(printer);
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
        DeletePrinterDriverA(nullptr, nullptr, name.data());
        if (!installed_ppd.empty()) DeleteFileA(installed_ppd.c_str());
    }

    static constexpr const char* kTagPrefix = "lyro_test_";

    // Removes every test printer (and its driver) of earlier runs.
    static void remove_stale_test_printers() {
        DWORD needed = 0, count = 0;
        EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
        std::string buffer(needed, '\0');
        if (needed == 0 || !EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4,
                                          reinterpret_cast<BYTE*>(buffer.data()), needed,
                                          &needed, &count))
            return;
        const auto* printers = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) {
            const std::string name = printers[i].pPrinterName ? printers[i].pPrinterName : "";
            if (name.rfind(kTagPrefix, 0) == 0) remove_printer(name);
        }
    }

    static std::string driver_data_file(HANDLE printer) {
        DWORD needed = 0;
        GetPrinterDriverA(printer, nullptr, 2, nullptr, 0, &needed);
        std::string buffer(needed, '\0');
        if (needed == 0 || !GetPrinterDriverA(printer, nullptr, 2,
                                              reinterpret_cast<BYTE*>(buffer.data()), needed,
                                              &needed))
            return {};
        const auto* info = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data());
        return info->pDataFile ? info->pDataFile : "";
    }

    bool ready_ = false;
    std::string why_;
    std::string tag_;
    std::string ppd_;
    bool driver_added_ = false;
    bool printer_added_ = false;
};

}  // namespace lyro::test
