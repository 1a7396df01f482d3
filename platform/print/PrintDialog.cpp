// The print dialog's layout and choices.
#include "platform/print/PrintDialog.h"

#include "platform/io/Files.h"
#include "platform/print/PrintQueues.h"
#include "platform/ui/App.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Resources.h"

#include <algorithm>
#include <cstdlib>

namespace plat {

namespace {

DialogTemplate PrintTemplate(DWORD flags)
{
    const DWORD pages = (flags & PD_NOPAGENUMS) ? WS_DISABLED : 0;
    const DWORD selection = (flags & PD_NOSELECTION) ? WS_DISABLED : 0;
    DialogTemplate print{"印刷", 240, 124, "", 9, 0, {}};
    print.items = {
        DialogItem{IDC_STATIC, "STATIC", "プリンタ名(&N):", SS_LEFT, 7, 9, 60, 10},
        DialogItem{PrintDialog::kPrinterId, "COMBOBOX", "", CBS_DROPDOWNLIST, 70, 7, 163, 80},
        DialogItem{IDC_STATIC, "STATIC", "ファイル名(&F):", SS_LEFT, 7, 25, 60, 10},
        DialogItem{PrintDialog::kFileId, "EDIT", "", ES_AUTOHSCROLL, 70, 23, 163, 12},
        DialogItem{IDC_STATIC, "BUTTON", "印刷範囲", BS_GROUPBOX, 7, 41, 110, 56},
        DialogItem{PrintDialog::kAllId, "BUTTON", "すべて(&A)", BS_AUTORADIOBUTTON | WS_GROUP, 13, 52, 100, 12},
        DialogItem{PrintDialog::kPagesId, "BUTTON", "ページ指定(&G)", BS_AUTORADIOBUTTON | pages, 13, 66, 100, 12},
        DialogItem{PrintDialog::kSelectionId, "BUTTON", "選択した部分(&S)", BS_AUTORADIOBUTTON | selection, 13, 80, 100, 12},
        DialogItem{IDC_STATIC, "STATIC", "部数(&C):", SS_LEFT, 125, 52, 40, 10},
        DialogItem{PrintDialog::kCopiesId, "EDIT", "1", ES_NUMBER | WS_GROUP, 168, 50, 30, 12},
        DialogItem{IDOK, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_GROUP, 128, 104, 50, 14},
        DialogItem{IDCANCEL, "BUTTON", "キャンセル", BS_PUSHBUTTON, 183, 104, 50, 14},
    };
    if (!(flags & PD_HIDEPRINTTOFILE))
        print.items.insert(print.items.end() - 2,
                           DialogItem{PrintDialog::kToFileId, "BUTTON", "ファイルへ出力(&L)", BS_AUTOCHECKBOX, 125, 68, 100, 12});
    return print;
}

std::filesystem::path DefaultPdfPath()
{
    std::filesystem::path folder;
    if (GetDocumentsFolder(folder) || folder.empty())
        folder = std::filesystem::current_path();
    return folder / "印刷.pdf";
}

} // namespace

PrintDialog::PrintDialog(PRINTDLG& pd) : Dialog(PrintTemplate(pd.Flags), pd.hwndOwner), m_pd(pd) {}

BOOL PrintDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    auto* printers = dynamic_cast<ComboBox*>(GetDlgItem(kPrinterId));
    int chosen = 0;
    if (printers != nullptr) {
        printers->AddString(kPdfPrinterName);
        for (const PrintQueue& queue : ListPrintQueues()) {
            m_printers.push_back(queue.name);
            printers->AddString(queue.name);
            // The caller's choice, else the machine's default queue.
            if (queue.name == m_pd.printer || (m_pd.printer.empty() && queue.isDefault && m_pd.file.empty()))
                chosen = static_cast<int>(m_printers.size());
        }
        printers->SetCurSel(chosen);
    }
    SetDlgItemText(kFileId, (m_pd.file.empty() ? DefaultPdfPath() : m_pd.file).string());
    SetDlgItemInt(kCopiesId, std::max(1, m_pd.copies));
    CheckRadioButton(kAllId, kPagesId, kAllId);
    return TRUE;
}

void PrintDialog::OnOK()
{
    const auto* printers = dynamic_cast<ComboBox*>(GetDlgItem(kPrinterId));
    const int index = printers != nullptr ? printers->GetCurSel() : 0;
    const bool toFile = index <= 0 || (GetDlgItem(kToFileId) != nullptr && IsDlgButtonChecked(kToFileId));
    const std::string file = GetDlgItemText(kFileId);
    if (toFile && file.empty()) {
        MessageBox(this, "ファイル名を入力してください。", "印刷", MB_OK | MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(kFileId));
        return;
    }
    const int copies = std::atoi(GetDlgItemText(kCopiesId).c_str());
    if (copies < 1 || copies > 999) {
        MessageBox(this, "部数は 1 から 999 までの数で入力してください。", "印刷", MB_OK | MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(kCopiesId));
        return;
    }
    // A file already there is someone's document until they say otherwise.
    if (toFile && PathExists(file) &&
        MessageBox(this, file + " は既にあります。\n上書きしますか？", "印刷", MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
        GotoDlgCtrl(GetDlgItem(kFileId));
        return;
    }
    m_pd.printer = toFile ? std::string() : m_printers[static_cast<std::size_t>(index - 1)];
    m_pd.file = toFile ? std::filesystem::path(file) : std::filesystem::path();
    m_pd.copies = copies;
    m_pd.Flags &= ~(PD_SELECTION | PD_PAGENUMS | PD_PRINTTOFILE);
    if (toFile && index > 0)
        m_pd.Flags |= PD_PRINTTOFILE;
    EndDialog(IDOK);
}

int DoPrintDialog(PRINTDLG& pd)
{
    PrintDialog dialog(pd);
    return dialog.DoModal() == IDOK ? IDOK : IDCANCEL;
}

BOOL CreatePrinterDC(const PRINTDLG& pd, PrinterDC& dc)
{
    return pd.printer.empty() ? dc.CreatePdfDC(pd.file) : dc.CreateQueueDC(pd.printer, pd.copies);
}

} // namespace plat
