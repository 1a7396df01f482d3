// Printing the grid: the person picks a destination, the grid lays out its own pages on a
// printer device context measured in hundredths of an inch.
#include "tav/command/TavCommon.h"

#include "platform/print/PrintDialog.h"
#include "platform/print/PrinterDC.h"
#include "platform/ui/App.h"
#include "platform/ui/Wnd.h"

namespace {

constexpr const char* kPrintTitle = "QUORTAL Win - ｾﾙの印刷";

} // namespace

void TavCommon::CellPrint()
{
    if (m_window == nullptr)
        return;
    plat::PRINTDLG pd;
    pd.Flags = plat::PD_NOSELECTION | plat::PD_NOPAGENUMS | plat::PD_USEDEVMODECOPIES | plat::PD_HIDEPRINTTOFILE;
    pd.hwndOwner = m_window->GetOwner();
    if (plat::DoPrintDialog(pd) != plat::IDOK)
        return;
    plat::PrinterDC dc;
    plat::CreatePrinterDC(pd, dc);
    dc.SetMapMode(plat::MM_LOENGLISH);
    bool printed = dc.StartDoc(plat::DOCINFO{kPrintTitle, {}}) > 0;
    if (printed) {
        Request(MOXM_PRINT, reinterpret_cast<plat::WPARAM>(&dc));
        printed = dc.EndDoc() > 0;
    }
    // What went wrong is the system's own words: a full disk, a folder that cannot be
    // written, a queue that refused the job.
    if (!printed)
        plat::MessageBox(pd.hwndOwner, "印刷できませんでした。\n" + dc.GetError(), "印刷", plat::MB_OK | plat::MB_ICONEXCLAMATION);
}
