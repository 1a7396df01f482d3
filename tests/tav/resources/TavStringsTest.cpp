// Tests of the library's string table: the texts users see, exactly.
#include "tav/resources/TavStrings.h"

#include "platform/text/CodePage.h"

#include <gtest/gtest.h>

TEST(TavStrings, TableHoldsTheLibraryTextsExactly)
{
    plat::Module module("tavcell");
    TavAddStrings(module);

    EXPECT_EQ(module.LoadString(1), "ﾃﾝﾌﾟﾚｰﾄ '%s' はすでに存在します。上書きしますか？");
    EXPECT_EQ(module.LoadString(5), "ﾃﾝﾌﾟﾚｰﾄ名にｶﾝﾏ(,)は使用できません。");
    EXPECT_EQ(module.LoadString(8), "ﾃｷｽﾄﾘｰﾀﾞｰは既に利用されているか、または見つかりません。");
    EXPECT_EQ(module.LoadString(14), "行を挿入するためのｽﾍﾟｰｽがありません。");
    EXPECT_EQ(module.LoadString(15), "標準");
    EXPECT_EQ(module.LoadString(IDS_TAV_TOO_MANY_COORDINATES), "最大座標数を超えました。処理を終了します。");
    EXPECT_EQ(module.LoadString(IDS_TAV_TOO_MANY_LOT_NUMBERS), "最大地番数を超えました。処理を終了します。");
    EXPECT_EQ(module.LoadString(19), "見つかりません。");

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
