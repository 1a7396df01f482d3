// The shared menu's content and prompts, and its rework.
#include "components/support/NifCommonMenu.h"

#include "platform/ui/Frames.h"

#include <string>

using namespace NifCommand;

namespace {

struct Item {
    plat::UINT id; // 0: a separator
    const char* text;
};

constexpr Item kEditMenu[] = {
    {plat::ID_EDIT_UNDO, "元に戻す(&U)\tCtrl+Z"},
    {0, nullptr},
    {plat::ID_EDIT_CUT, "切り取り(&T)\tCtrl+X"},
    {plat::ID_EDIT_COPY, "コピー(&C)\tCtrl+C"},
    {plat::ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V"},
    {plat::ID_EDIT_CLEAR, "消去(&L)\tDel"},
    {plat::ID_EDIT_PASTE_SPECIAL, "形式を選択して貼り付け(&S)..."},
    {0, nullptr},
    {plat::ID_EDIT_SELECT_ALL, "すべて選択(&A)\tCtrl+A"},
};

constexpr Item kMoveMenu[] = {
    {MoveTop, "先頭行(&T)\tCtrl+Home"},
    {MoveBottom, "最終行(&B)\tCtrl+End"},
    {Jump, "指定行(&J)..."},
};

// The Cell menu after its "移動(&G)" sub menu.
constexpr Item kCellMenu[] = {
    {Find, "検索(&F)..."},
    {0, nullptr},
    {LineInsert, "行挿入(&I)"},
    {LineDelete, "行削除(&D)"},
    {LineMove, "行移動(&M)"},
    {LineCopy, "行複写(&C)"},
    {LineSwap, "行入替(&S)"},
    {LineCloseUp, "行詰め(&U)"},
    {0, nullptr},
    {AreaCorrect, "範囲補正(&A)..."},
    {Lock, "ｾﾙﾛｯｸ(&L)"},
    {AutoWidth, "列幅自動調整(&W)"},
    {CellChange, "項目変更(&H)..."},
    {Template, "ﾃﾝﾌﾟﾚｰﾄ(&E)..."},
    {ViewSettings, "表示設定(&V)..."},
    {0, nullptr},
    {EditOpen, "ﾃｷｽﾄ編集(&X)..."},
    {Read, "読み上げ(&R)"},
    {CellPrint, "印刷(&P)..."},
    {0, nullptr},
};

bool Fill(plat::Menu& menu, const Item* items, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const bool done = items[i].id == 0 ? menu.AppendMenu(plat::MF_SEPARATOR)
                                           : menu.AppendMenu(plat::MF_STRING, items[i].id, items[i].text);
        if (!done)
            return false;
    }
    return true;
}

template <std::size_t N>
bool Fill(plat::Menu& menu, const Item (&items)[N])
{
    return Fill(menu, items, N);
}

bool AppendPopup(plat::Menu& menu, plat::Menu& popup, const char* text)
{
    // The menu owns the sub menu from here on; the object lets go of it.
    return menu.AppendMenu(plat::MF_POPUP, reinterpret_cast<plat::UINT_PTR>(popup.Detach()), text) != 0;
}

bool RemakeLevel(plat::Menu& menu, int flag)
{
    for (int i = 0; i < menu.GetMenuItemCount();) {
        plat::MenuItemInfo item;
        plat::GetMenuItem(menu.GetSafeHmenu(), i, item);
        const bool separator = item.IsSeparator();
        plat::MenuItemInfo previous;
        const bool afterSeparator = i == 0 || (plat::GetMenuItem(menu.GetSafeHmenu(), i - 1, previous) && previous.IsSeparator());
        if (separator && (afterSeparator || i + 1 == menu.GetMenuItemCount())) {
            menu.RemoveMenu(static_cast<plat::UINT>(i), plat::MF_BYPOSITION);
            // A removal at the end may leave another separator last: look at it again.
            if (i > 0 && i == menu.GetMenuItemCount())
                --i;
            continue;
        }
        if (item.IsPopup()) {
            if (plat::Menu* sub = menu.GetSubMenu(i))
                RemakeLevel(*sub, flag);
        } else if ((flag & NIF_REMAKE_NOACCEL) && item.text.find('\t') != std::string::npos) {
            menu.ModifyMenu(static_cast<plat::UINT>(i), plat::MF_BYPOSITION | plat::MF_STRING | (item.flags & (plat::MF_GRAYED | plat::MF_DISABLED | plat::MF_CHECKED)),
                            item.id, item.text.substr(0, item.text.find('\t')));
        }
        ++i;
    }
    return true;
}

} // namespace

plat::ModuleHandle NifCommonMenuModule()
{
    static const plat::Module* module = [] {
        static plat::Module made("support");
        made.AddStrings({
            {plat::ID_EDIT_UNDO, "直前の操作を取り消します\n元に戻す"},
            {plat::ID_EDIT_CUT, "選択範囲を切り取ってクリップボードに移します\n切り取り"},
            {plat::ID_EDIT_COPY, "選択範囲をクリップボードにコピーします\nコピー"},
            {plat::ID_EDIT_PASTE, "クリップボードの内容を貼り付けます\n貼り付け"},
            {plat::ID_EDIT_CLEAR, "選択範囲の内容を消去します\n消去"},
            {plat::ID_EDIT_PASTE_SPECIAL, "クリップボードの内容を形式を選んで貼り付けます\n形式を選択して貼り付け"},
            {plat::ID_EDIT_SELECT_ALL, "すべてのｾﾙを選択します\nすべて選択"},
            {MoveTop, "先頭の行へ移動します\n先頭行"},
            {MoveBottom, "最終の行へ移動します\n最終行"},
            {Jump, "行番号を指定して移動します\n指定行"},
            {Find, "選択した項目の値を検索します\n検索"},
            {LineInsert, "選択した行の前に空の行を挿入します\n行挿入"},
            {LineDelete, "選択した行を削除します\n行削除"},
            {LineMove, "選択した行を移動します\n行移動"},
            {LineCopy, "選択した行を複写します\n行複写"},
            {LineSwap, "選択した行を入れ替えます\n行入替"},
            {LineCloseUp, "空の行を詰めます\n行詰め"},
            {AreaCorrect, "選択範囲の一つの項目をまとめて補正します\n範囲補正"},
            {Lock, "選択したｾﾙをﾛｯｸまたはﾛｯｸ解除します\nｾﾙﾛｯｸ"},
            {AutoWidth, "列幅をｳｨﾝﾄﾞｳに合わせます\n列幅自動調整"},
            {CellChange, "表示する項目と順序を変更します\n項目変更"},
            {Template, "ﾃﾝﾌﾟﾚｰﾄを登録、読み込み、削除します\nﾃﾝﾌﾟﾚｰﾄ"},
            {ViewSettings, "ｾﾙの色と文字を設定します\n表示設定"},
            {EditOpen, "ｾﾙの内容をﾃｷｽﾄとして編集します\nﾃｷｽﾄ編集"},
            {Read, "ｾﾙの内容を読み上げます\n読み上げ"},
            {CellPrint, "ｾﾙを印刷します\n印刷"},
            {DedicatedSettings, "専用ｺﾏﾝﾄﾞを設定します\n専用ｺﾏﾝﾄﾞの設定"},
        });
        return &made;
    }();
    return module;
}

plat::BOOL NifGetCommonMenu(plat::Menu& menu)
{
    if (!plat::IsMenu(menu.GetSafeHmenu()) && !menu.CreateMenu())
        return FALSE;
    plat::AddMessageStringModule(NifCommonMenuModule());
    plat::Menu edit;
    plat::Menu cell;
    plat::Menu move;
    plat::Menu dedicated;
    if (!edit.CreatePopupMenu() || !cell.CreatePopupMenu() || !move.CreatePopupMenu() || !dedicated.CreatePopupMenu())
        return FALSE;
    // The programs put their own commands in the dedicated menu; until one does, it says so.
    const bool filled = Fill(edit, kEditMenu) && Fill(move, kMoveMenu) &&
                        dedicated.AppendMenu(plat::MF_STRING | plat::MF_GRAYED, 0, "(なし)") &&
                        AppendPopup(cell, move, "移動(&G)") && Fill(cell, kCellMenu) &&
                        AppendPopup(cell, dedicated, "専用ｺﾏﾝﾄﾞ(&O)") &&
                        cell.AppendMenu(plat::MF_STRING, DedicatedSettings, "専用ｺﾏﾝﾄﾞの設定(&G)...") &&
                        AppendPopup(menu, edit, "編集(&E)") && AppendPopup(menu, cell, "ｾﾙ(&C)");
    return filled ? TRUE : FALSE;
}

plat::BOOL NifRemakeMenu(plat::Menu* menu, int flag)
{
    if (!menu || !plat::IsMenu(menu->GetSafeHmenu()))
        return FALSE;
    return RemakeLevel(*menu, flag) ? TRUE : FALSE;
}
