// The lot-number list's string table.
#include "LotResources.h"

namespace lots {

const plat::Module& LotModule()
{
    static const plat::Module* module = [] {
        static plat::Module made("lots");
        made.AddStrings({
            {kLotNo, "地番\n地番"},
            {kCategory, "地目\n地目"},
            {kArea, "地積 (m²)\n地積"},
            {kOwner, "所有者\n所有者"},
            {kNote, "備考\n備考"},
            // Status prompts: the idle one, and those of the File and Help menus.
            {0xE001, "F10 でメニュー、F1 でヘルプを開きます"},
            {0xE101, "地番一覧のファイルを開きます\n開く"},
            {0xE103, "地番一覧をファイルに保存します\n上書き保存"},
            {0xE104, "地番一覧を名前を付けて保存します\n名前を付けて保存"},
            {0xE140, "このプログラムの情報を表示します\nバージョン情報"},
            {0xE141, "地番一覧を終了します\n終了"},
            {0xE142, "ヘルプの目次を開きます\n目次"},
            {0xE146, "カーソルのある項目のヘルプを開きます\n項目の説明"},
        });
        return &made;
    }();
    return *module;
}

} // namespace lots
