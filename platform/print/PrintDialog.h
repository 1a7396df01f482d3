// The print dialog: where the document goes (a PDF file, or one of the machine's print
// queues), how many copies, and the range, as far as the caller lets the person choose.
#pragma once

#include "platform/print/PrinterDC.h"
#include "platform/ui/Dialog.h"

#include <filesystem>
#include <string>
#include <vector>

namespace plat {

inline constexpr DWORD PD_ALLPAGES = 0x00000000;
inline constexpr DWORD PD_SELECTION = 0x00000001;
inline constexpr DWORD PD_PAGENUMS = 0x00000002;
inline constexpr DWORD PD_NOSELECTION = 0x00000004;
inline constexpr DWORD PD_NOPAGENUMS = 0x00000008;
inline constexpr DWORD PD_PRINTTOFILE = 0x00000020;
inline constexpr DWORD PD_PRINTSETUP = 0x00000040;
inline constexpr DWORD PD_USEDEVMODECOPIES = 0x00040000;
inline constexpr DWORD PD_HIDEPRINTTOFILE = 0x00100000;

struct PRINTDLG {
    DWORD Flags = 0;
    Wnd* hwndOwner = nullptr;
    // In: the choices shown first; out: the person's. An empty printer is the PDF file.
    std::string printer;
    std::filesystem::path file;
    int copies = 1;
};

// The name the PDF destination has among the printers.
inline constexpr const char* kPdfPrinterName = "PDF ファイル";

// Runs the dialog modally: IDOK with the choices in pd, or IDCANCEL.
int DoPrintDialog(PRINTDLG& pd);
// Makes the device context of the destination the dialog chose.
BOOL CreatePrinterDC(const PRINTDLG& pd, PrinterDC& dc);

class PrintDialog : public Dialog {
public:
    static constexpr int kPrinterId = 1139;
    static constexpr int kFileId = 1152;
    static constexpr int kCopiesId = 1154;
    static constexpr int kAllId = 1056;
    static constexpr int kSelectionId = 1057;
    static constexpr int kPagesId = 1058;
    static constexpr int kToFileId = 1040;

    explicit PrintDialog(PRINTDLG& pd);
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    PRINTDLG& m_pd;
    std::vector<std::string> m_printers; // in the list's order, after the PDF file
};

} // namespace plat
