// The suite's shared menu holds the commands the grids route, under the texts the grids look
// for; its rework tidies separators.
#include "components/support/NifCommonMenu.h"

#include "platform/ui/Frames.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(NifCommonMenuTest, TheSharedMenuHoldsTheGridCommandsUnderTheTextsTheGridsLookFor)
{
    Menu menu;
    ASSERT_TRUE(NifGetCommonMenu(menu));
    ASSERT_EQ(menu.GetMenuItemCount(), 2);
    EXPECT_EQ(menu.GetMenuString(0, MF_BYPOSITION), "編集(&E)");
    EXPECT_EQ(menu.GetMenuString(1, MF_BYPOSITION), "ｾﾙ(&C)");
    Menu* edit = menu.GetSubMenu(0);
    Menu* cell = menu.GetSubMenu(1);
    ASSERT_TRUE(edit && cell);

    for (UINT id = 0xC100; id <= 0xC10A; ++id)
        EXPECT_NE(cell->GetMenuState(id, MF_BYCOMMAND), kMenuNotFound) << std::hex << id;
    for (UINT id = 0xC300; id <= 0xC308; ++id)
        EXPECT_NE(cell->GetMenuState(id, MF_BYCOMMAND), kMenuNotFound) << std::hex << id;
    const int count = cell->GetMenuItemCount();
    EXPECT_EQ(cell->GetMenuString(static_cast<UINT>(count - 2), MF_BYPOSITION), "専用ｺﾏﾝﾄﾞ(&O)")
        << "the dedicated commands and one item after them close the Cell menu";

    FrameWnd frame;
    EXPECT_EQ(frame.GetMessageString(plat::ID_EDIT_COPY), "選択範囲をクリップボードにコピーします")
        << "the shared commands' prompts reach every frame";

    // The rework: separators at the edges and in runs go; with the flag, accelerator texts.
    Menu assembled;
    assembled.CreatePopupMenu();
    assembled.AppendMenu(MF_SEPARATOR);
    assembled.AppendMenu(MF_STRING | MF_CHECKED, plat::ID_EDIT_CUT, "切り取り(&T)\tCtrl+X");
    assembled.AppendMenu(MF_SEPARATOR);
    assembled.AppendMenu(MF_SEPARATOR);
    assembled.AppendMenu(MF_STRING, NifCommand::Find, "検索(&F)...");
    assembled.AppendMenu(MF_SEPARATOR);
    ASSERT_TRUE(NifRemakeMenu(&assembled, NIF_REMAKE_NOACCEL));
    ASSERT_EQ(assembled.GetMenuItemCount(), 3);
    EXPECT_EQ(assembled.GetMenuString(0, MF_BYPOSITION), "切り取り(&T)");
    EXPECT_EQ(assembled.GetMenuState(0, MF_BYPOSITION), MF_CHECKED);
    EXPECT_EQ(assembled.GetMenuItemID(1), 0u);
    EXPECT_EQ(assembled.GetMenuItemID(2), NifCommand::Find);
    EXPECT_FALSE(NifRemakeMenu(nullptr, 0));
}
