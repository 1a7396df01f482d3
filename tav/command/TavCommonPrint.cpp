// Printing the grid: the person picks a destination, the grid lays out its own pages on a
// printer device context measured in hundredths of an inch.
#include "tav/command/TavCommon.h"

#include "platform/print/PrintDialog.h"
#include "platform/print/PrinterDC.h"
#include "platform/ui/App.h"
#include "platform/ui/Wnd.h"

#include <ctime>
#include <string>

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
    // The title line names the document as its window does ("座標一覧 - survey.tcd"), without
    // the mark of unsaved changes, and the day it was printed.
    plat::Wnd* top = m_window->GetTopLevelParent();
    std::string title = top != nullptr ? top->GetWindowText() : std::string();
    if (title.size() >= 2 && title.compare(title.size() - 2, 2, " *") == 0)
        title.erase(title.size() - 2);
    char date[16] = "";
    const std::time_t now = std::time(nullptr);
    if (std::tm local{}; ::localtime_r(&now, &local) != nullptr)
        std::strftime(date, sizeof date, "%Y/%m/%d", &local);
    MOX_PRINT job;
    job.title = title.c_str();
    job.date = date;
    bool printed = dc.StartDoc(plat::DOCINFO{kPrintTitle, {}}) > 0;
    if (printed) {
        Request(MOXM_PRINT, reinterpret_cast<plat::WPARAM>(&dc), reinterpret_cast<plat::LPARAM>(&job));
        printed = dc.EndDoc() > 0;
    }
    if (printed && job.columnPages > 1)
        plat::MessageBox(pd.hwndOwner,
                         "列が用紙の幅に収まらないため、" + std::to_string(job.columnPages) +
                             " ページに分けて印刷しました。\n右の列は次のページに、行番号とともに印刷されています。",
                         "印刷", plat::MB_OK | plat::MB_ICONINFORMATION);
    // What went wrong is the system's own words: a full disk, a folder that cannot be
    // written, a queue that refused the job.
    if (!printed)
        plat::MessageBox(pd.hwndOwner, "印刷できませんでした。\n" + dc.GetError(), "印刷", plat::MB_OK | plat::MB_ICONEXCLAMATION);
}
