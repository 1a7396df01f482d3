// The editor's string table.
#include "examples/coordinates/CoordinateResources.h"

namespace coordinates {

const plat::Module& CoordinateModule()
{
    static const plat::Module* module = [] {
        static plat::Module made("coordinates");
        made.AddStrings({
            {kPointNo, "点番号\n点番"},
            {kPointName, "点名\n点名"},
            {kX, "X座標\nX座標"},
            {kY, "Y座標\nY座標"},
            {kZ, "標高\n標高"},
            {kCode, "コード\nコード"},
            {kLineType, "線種\n線種"},
            {kRadius, "曲線半径\n半径"},
            {kFlag, "確定フラグ\n確定"},
            // Status prompts: the idle one, and those of the File and Help menus.
            {0xE001, "F10 でメニュー、F1 でヘルプを開きます"},
            {0xE100, "空の座標一覧を新しく作ります\n新規"},
            {0xE101, "座標一覧のファイルを開きます\n開く"},
            {0xE103, "座標一覧をファイルに保存します\n上書き保存"},
            {0xE104, "座標一覧を名前を付けて保存します\n名前を付けて保存"},
            {0xE110, "SIMA または CSV ファイルの点を読み込みます\n読み込み"},
            {0xE111, "点を SIMA または CSV ファイルに書き出します\n書き出し"},
            {0xE140, "このプログラムの情報を表示します\nバージョン情報"},
            {0xE141, "座標一覧を終了します\n終了"},
            {0xE142, "ヘルプの目次を開きます\n目次"},
            {0xE146, "カーソルのある項目のヘルプを開きます\n項目の説明"},
        });
        return &made;
    }();
    return *module;
}

} // namespace coordinates
