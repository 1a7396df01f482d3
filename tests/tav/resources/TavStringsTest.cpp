// Tests of the library's string table: the texts users see, exactly.
#include "tav/resources/TavStrings.h"

#include "platform/text/CodePage.h"

#include <gtest/gtest.h>

#include <utility>

TEST(TavStrings, TableHoldsTheLibraryTextsExactly)
{
    plat::Module module("tavcell");
    TavAddStrings(module);

    const std::pair<std::uint32_t, const char*> texts[] = {
        {1, "ﾃﾝﾌﾟﾚｰﾄ '%s' はすでに存在します。上書きしますか？"},
        {3, "ﾃﾝﾌﾟﾚｰﾄ '%s' を削除してよろしいですか？"},
        {4, "初期化してよろしいですか？"},
        {5, "ﾃﾝﾌﾟﾚｰﾄ名にｶﾝﾏ(,)は使用できません。"},
        {6, "連続していない範囲での操作は出来ません。"},
        {7, "ﾃﾝﾌﾟﾚｰﾄの読み込みに失敗しました。"},
        {8, "ﾃｷｽﾄﾘｰﾀﾞｰは既に利用されているか、または見つかりません。"},
        {9, "範囲が選択されていません。"},
        {10, "指定した選択範囲が正しくありません。"},
        {11, "選択した項目の処理は行えません。"},
        {12, "行が選択されていません。"},
        {13, "複数行選択に対して操作できません。"},
        {14, "行を挿入するためのｽﾍﾟｰｽがありません。"},
        {15, "標準"},
        {IDS_TAV_TOO_MANY_COORDINATES, "最大座標数を超えました。処理を終了します。"},
        {IDS_TAV_TOO_MANY_LOT_NUMBERS, "最大地番数を超えました。処理を終了します。"},
        {18, "複数範囲の指定は出来ません。"},
        {19, "見つかりません。"},
    };
    for (const auto& [id, text] : texts)
        EXPECT_EQ(module.LoadString(id), text) << "entry " << id;

    EXPECT_FALSE(module.FindString(2).has_value()) << "identifier 2 is not used";
    int entries = 0;
    for (std::uint32_t id = 0; id < 1000; ++id) {
        const std::optional<std::string_view> text = module.FindString(id);
        if (!text)
            continue;
        ++entries;
        EXPECT_TRUE(id == 1 || (id >= 3 && id <= 19)) << "unexpected entry " << id;
        EXPECT_FALSE(text->empty()) << id;
        EXPECT_TRUE(plat::Utf8ToNarrow(*text).ok()) << "entry " << id << " must be storable in CP932";
    }
    EXPECT_EQ(entries, 18);
}
