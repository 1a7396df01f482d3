// Message box keys: focus moves among the buttons, Return and Space press, letters answer,
// Escape cancels only where the platform lets it, a click presses the button under it.
#include "frontends/tty/MessageBoxInput.h"

#include "frontends/tty/KeyDecoder.h"
#include "platform/text/DisplayWidth.h"
#include "platform/ui/Canvas.h"

#include <gtest/gtest.h>

using namespace plat;
using tty::MessageBoxInput;

TEST(MessageBoxInputTest, FocusStartsOnTheDefaultAndMovesWithArrowsAndTab)
{
    MessageBoxInput box("保存しますか？", "座標", MB_YESNOCANCEL | MB_DEFBUTTON2);
    EXPECT_EQ(box.View().focus, 1);
    EXPECT_EQ(box.Handle(InputEvent::KeyPress(VK_RIGHT)), std::nullopt);
    EXPECT_EQ(box.Handle(InputEvent::KeyPress(VK_TAB)), std::nullopt);
    EXPECT_EQ(box.View().focus, 0) << "wraps round";
    EXPECT_EQ(box.Handle(InputEvent::KeyPress(VK_TAB, true)), std::nullopt);
    EXPECT_EQ(box.View().focus, 2);
    EXPECT_EQ(box.Handle(InputEvent::KeyPress(VK_RETURN)), IDCANCEL);
    EXPECT_EQ(box.Handle(InputEvent::Character(U' ')), IDCANCEL);
}

TEST(MessageBoxInputTest, LettersAnswerAndEscapeCancelsOnlyWhereItMay)
{
    MessageBoxInput yesNo("削除しますか？", "座標", MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(yesNo.Handle(InputEvent::Character(U'n')), IDNO);
    EXPECT_EQ(yesNo.Handle(InputEvent::Character(U'Y')), IDYES);
    InputEvent altN = InputEvent::KeyPress('N');
    altN.alt = true;
    EXPECT_EQ(yesNo.Handle(altN), IDNO);
    EXPECT_EQ(yesNo.Handle(InputEvent::KeyPress(VK_ESCAPE)), std::nullopt) << "yes/no has no way out but an answer";
    EXPECT_EQ(yesNo.Handle(InputEvent::CloseBox()), std::nullopt);
    EXPECT_EQ(yesNo.Handle(InputEvent::Character(U'c')), std::nullopt);

    MessageBoxInput ok("見つかりません。", "検索", MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(ok.Handle(InputEvent::KeyPress(VK_ESCAPE)), IDOK) << "a lone OK takes Escape";
    EXPECT_EQ(ok.Handle(InputEvent::Character(U'y')), std::nullopt);
    EXPECT_EQ(ok.AnswerWithoutInput(), IDOK);

    MessageBoxInput okCancel("続けますか？", "座標", MB_OKCANCEL);
    EXPECT_EQ(okCancel.Handle(InputEvent::KeyPress(VK_ESCAPE)), IDCANCEL);
    EXPECT_EQ(okCancel.AnswerWithoutInput(), IDCANCEL) << "input that ends cancels";
}

TEST(MessageBoxInputTest, AClickOnAButtonPressesItAndAClickBesideDoesNothing)
{
    MessageBoxInput box("変更を保存しますか？", "座標", MB_YESNOCANCEL | MB_ICONQUESTION);
    box.SetScreen(60, 12);
    Canvas canvas(60, 12);
    Renderer().PaintMessageBox(canvas, box.View());
    const std::string buttons = canvas.LineText(7);
    ASSERT_NE(buttons.find("[ いいえ(N) ]"), std::string::npos) << canvas.ToText();
    auto columnOf = [&](const char* text) { return DisplayWidth(buttons.substr(0, buttons.find(text))); };
    auto click = [](int column, int line) { return InputEvent::MouseClick(tty::KeyDecoder::CellCentre(column, line)); };
    EXPECT_EQ(box.Handle(click(columnOf("いいえ"), 7)), IDNO);
    EXPECT_EQ(box.Handle(click(columnOf("[ キャンセル") + 1, 7)), IDCANCEL);
    EXPECT_EQ(box.Handle(click(columnOf("はい") - 2, 7)), IDYES) << "the bracket is part of the button";
    EXPECT_EQ(box.Handle(click(columnOf("[ いいえ") - 1, 7)), std::nullopt) << "between two buttons";
    EXPECT_EQ(box.Handle(click(columnOf("いいえ"), 5)), std::nullopt) << "on the text";
}
