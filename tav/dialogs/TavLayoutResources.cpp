// The layout dialogs' templates and bitmap 149, as the library's module holds them.
#include "tav/dialogs/TavLayoutResources.h"

#include "platform/ui/Constants.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Resources.h"
#include "tav/frame/TavFrame.h"

#include <string>
#include <utility>

namespace {

using plat::DialogItem;

constexpr const char* kFont = "ＭＳ Ｐゴシック";
const std::string kListView(plat::kListViewClass);

plat::DialogTemplate TemplateDialog()
{
    plat::DialogTemplate t{"ﾃﾝﾌﾟﾚｰﾄ管理", 251, 181, kFont, 9, 0, {}};
    const plat::DWORD list = plat::LVS_REPORT | plat::LVS_SINGLESEL | plat::LVS_SORTASCENDING |
                             plat::LVS_NOCOLUMNHEADER | plat::LVS_NOSORTHEADER | plat::WS_BORDER;
    t.items = {
        DialogItem{plat::IDC_STATIC, "STATIC", "ﾃﾝﾌﾟﾚｰﾄ(&T)", plat::SS_LEFT, 7, 7, 164, 10},
        DialogItem{IDC_TAV_TEMPLATE_LIST, kListView, "", list, 7, 18, 164, 156},
        DialogItem{IDC_TAV_TEMPLATE_REGISTER, "BUTTON", "登録(&A)...", plat::BS_PUSHBUTTON, 178, 18, 66, 14},
        DialogItem{IDC_TAV_TEMPLATE_LOAD, "BUTTON", "読み込み(&R)", plat::BS_PUSHBUTTON, 178, 36, 66, 14},
        DialogItem{IDC_TAV_TEMPLATE_DELETE, "BUTTON", "削除(&D)", plat::BS_PUSHBUTTON, 178, 54, 66, 14},
        DialogItem{IDC_TAV_TEMPLATE_TRANSFER, "BUTTON", "ﾃﾞｰﾀ転送(&F)...", plat::BS_PUSHBUTTON, 178, 72, 66, 14},
        DialogItem{plat::IDCANCEL, "BUTTON", "閉じる", plat::BS_DEFPUSHBUTTON, 178, 160, 66, 14},
    };
    return t;
}

plat::DialogTemplate ChangeDialog()
{
    plat::DialogTemplate t{"項目の変更", 238, 171, kFont, 9, 0, {}};
    const plat::DWORD list = plat::LBS_NOTIFY | plat::WS_VSCROLL | plat::WS_BORDER;
    t.items = {
        DialogItem{plat::IDC_STATIC, "STATIC", "利用できる項目(&V):", plat::SS_LEFT, 7, 7, 80, 10},
        DialogItem{IDC_TAV_CHANGE_AVAILABLE, "LISTBOX", "", list, 7, 18, 80, 112},
        DialogItem{plat::IDC_STATIC, "STATIC", "使用する項目(&O):", plat::SS_LEFT, 153, 7, 78, 10},
        DialogItem{IDC_TAV_CHANGE_USED, "LISTBOX", "", list, 153, 18, 78, 112},
        DialogItem{IDC_TAV_CHANGE_ADD, "BUTTON", "追加(&A) ->", plat::BS_PUSHBUTTON, 91, 18, 58, 14},
        DialogItem{IDC_TAV_CHANGE_ADDALL, "BUTTON", "全追加(&L) >>", plat::BS_PUSHBUTTON, 91, 36, 58, 14},
        DialogItem{IDC_TAV_CHANGE_REMOVE, "BUTTON", "<- 削除(&R)", plat::BS_PUSHBUTTON, 91, 54, 58, 14},
        DialogItem{IDC_TAV_CHANGE_REMOVEALL, "BUTTON", "<< 全削除(&M)", plat::BS_PUSHBUTTON, 91, 72, 58, 14},
        DialogItem{IDC_TAV_CHANGE_UP, "BUTTON", "上へ(&U)", plat::BS_PUSHBUTTON, 153, 134, 38, 14},
        DialogItem{IDC_TAV_CHANGE_DOWN, "BUTTON", "下へ(&D)", plat::BS_PUSHBUTTON, 194, 134, 38, 14},
        DialogItem{IDC_TAV_CHANGE_RESET, "BUTTON", "リセット(&E)", plat::BS_PUSHBUTTON, 91, 100, 58, 14},
        DialogItem{plat::IDOK, "BUTTON", "OK", plat::BS_DEFPUSHBUTTON, 128, 152, 50, 14},
        DialogItem{plat::IDCANCEL, "BUTTON", "キャンセル", plat::BS_PUSHBUTTON, 182, 152, 50, 14},
    };
    return t;
}

plat::DialogTemplate TransferDialog()
{
    plat::DialogTemplate t{"ﾃﾝﾌﾟﾚｰﾄ管理 - ﾃﾞｰﾀ転送", 319, 253, kFont, 9, 0, {}};
    const plat::DWORD list = plat::LVS_REPORT | plat::LVS_SINGLESEL | plat::LVS_NOCOLUMNHEADER | plat::WS_BORDER;
    t.items = {
        DialogItem{plat::IDC_STATIC, "STATIC",
                   "ﾃﾝﾌﾟﾚｰﾄのﾃﾞｨｽｸなどへの抜出し、保存済みのﾃﾞｨｽｸなどからの取込みを行います。", plat::SS_LEFT, 7, 7,
                   305, 10},
        DialogItem{plat::IDC_STATIC, "STATIC", "転送元と転送先のﾃﾝﾌﾟﾚｰﾄを選択したのち、抜出・取込を実行してください。",
                   plat::SS_LEFT, 7, 18, 305, 10},
        DialogItem{plat::IDC_STATIC, "STATIC", "転送元(&R)", plat::SS_LEFT, 7, 34, 120, 10},
        DialogItem{IDC_TAV_TRANSFER_SOURCE, kListView, "", list, 7, 45, 126, 150},
        DialogItem{plat::IDC_STATIC, "STATIC", "転送先(&W)", plat::SS_LEFT, 186, 34, 120, 10},
        DialogItem{IDC_TAV_TRANSFER_DESTINATION, kListView, "", list, 186, 45, 126, 150},
        DialogItem{IDC_TAV_TRANSFER_ALL, "BUTTON", "すべて選択(&A)", plat::BS_AUTOCHECKBOX, 7, 198, 100, 10},
        DialogItem{IDC_TAV_TRANSFER_EXPORT, "BUTTON", "抜出(&S) ->", plat::BS_PUSHBUTTON, 137, 90, 46, 14},
        DialogItem{IDC_TAV_TRANSFER_IMPORT, "BUTTON", "<- 取込(&L)", plat::BS_PUSHBUTTON, 137, 110, 46, 14},
        DialogItem{plat::IDC_STATIC, "STATIC", "転送先ﾊﾟｽ名(&P)", plat::SS_LEFT, 7, 214, 64, 10},
        DialogItem{IDC_TAV_TRANSFER_PATH, "EDIT", "", plat::ES_AUTOHSCROLL, 73, 212, 185, 12},
        DialogItem{IDC_TAV_TRANSFER_CHOOSE, "BUTTON", "参照(&D)", plat::BS_PUSHBUTTON, 262, 211, 50, 14},
        DialogItem{plat::IDOK, "BUTTON", "閉じる", plat::BS_DEFPUSHBUTTON, 262, 232, 50, 14},
    };
    return t;
}

// A small table on magenta: a navy title row over a grey and white grid of three columns and
// four rows.
plat::Bitmap TemplateBitmap()
{
    constexpr plat::COLORREF navy = 0x800000;
    constexpr plat::COLORREF grey = 0x808080;
    constexpr plat::COLORREF white = 0xFFFFFF;
    plat::Bitmap bitmap;
    bitmap.CreateBitmap(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            bitmap.SetPixel(x, y, kTavTemplateMask);
    for (int y = 2; y <= 13; ++y)
        for (int x = 1; x <= 14; ++x) {
            const bool line = x == 1 || x == 14 || y == 13 || (y > 4 && (y - 4) % 3 == 0) || x == 5 || x == 10;
            bitmap.SetPixel(x, y, y <= 4 ? navy : line ? grey : white);
        }
    return bitmap;
}

} // namespace

void TavAddLayoutResources()
{
    static const bool added = [] {
        const plat::ModuleHandle module = TavGetModuleHandle();
        plat::AddDialogResource(module, IDD_TAV_TEMPLATE, TemplateDialog());
        plat::AddDialogResource(module, IDD_TAV_CHANGE, ChangeDialog());
        plat::AddDialogResource(module, IDD_TAV_TRANSFER, TransferDialog());
        plat::AddBitmapResource(module, IDB_TAV_TEMPLATE, TemplateBitmap());
        return true;
    }();
    static_cast<void>(added);
}
