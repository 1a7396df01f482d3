// The library's own texts, as its users see them.
#include "tav/resources/TavStrings.h"

void TavAddStrings(plat::Module& module)
{
    module.AddStrings({
        {IDS_TAV_TEMPLATE_EXISTS, "ﾃﾝﾌﾟﾚｰﾄ '%s' はすでに存在します。上書きしますか？"},
        {IDS_TAV_TEMPLATE_DELETE, "ﾃﾝﾌﾟﾚｰﾄ '%s' を削除してよろしいですか？"},
        {IDS_TAV_RESET, "初期化してよろしいですか？"},
        {IDS_TAV_TEMPLATE_NO_COMMA, "ﾃﾝﾌﾟﾚｰﾄ名にｶﾝﾏ(,)は使用できません。"},
        {IDS_TAV_RANGE_NOT_CONTIGUOUS, "連続していない範囲での操作は出来ません。"},
        {IDS_TAV_TEMPLATE_LOAD_FAILED, "ﾃﾝﾌﾟﾚｰﾄの読み込みに失敗しました。"},
        {IDS_TAV_TEXT_READER_BUSY, "ﾃｷｽﾄﾘｰﾀﾞｰは既に利用されているか、または見つかりません。"},
        {IDS_TAV_NO_RANGE, "範囲が選択されていません。"},
        {IDS_TAV_RANGE_INVALID, "指定した選択範囲が正しくありません。"},
        {IDS_TAV_ITEM_NOT_PROCESSABLE, "選択した項目の処理は行えません。"},
        {IDS_TAV_NO_LINE, "行が選択されていません。"},
        {IDS_TAV_SEVERAL_LINES, "複数行選択に対して操作できません。"},
        {IDS_TAV_NO_ROOM_TO_INSERT, "行を挿入するためのｽﾍﾟｰｽがありません。"},
        {IDS_TAV_STANDARD, "標準"},
        {IDS_TAV_TOO_MANY_COORDINATES, "最大座標数を超えました。処理を終了します。"},
        {IDS_TAV_TOO_MANY_LOT_NUMBERS, "最大地番数を超えました。処理を終了します。"},
        {IDS_TAV_SEVERAL_RANGES, "複数範囲の指定は出来ません。"},
        {IDS_TAV_NOT_FOUND, "見つかりません。"},
    });
}
