// Japanese typed through the desktop's input method into the coordinate-list editor, offscreen:
// Qt's input method events as an input method sends them, and what the editor does with them.
#include "examples/coordinates/CoordinateResources.h"
#include "platform/ui/Controls.h"
#include "tests/frontends/qt/SampleSurveyFixture.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTextCharFormat>
#include <QTimer>

#include <gtest/gtest.h>


using namespace plat;
using coordinates::kPointName;

namespace {

class DesktopImeTest : public tavtest::SampleSurveyFixture {
protected:
    // One event of the input method: what it composes, where its cursor is, which characters
    // it is converting (marked by a background, as input methods mark them), what it commits.
    void Compose(const QString& preedit, const QString& commit = {}, int cursor = -1, int targetFrom = 0, int targetLength = 0)
    {
        QList<QInputMethodEvent::Attribute> attributes;
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, cursor < 0 ? static_cast<int>(preedit.size()) : cursor, 1, QVariant());
        if (targetLength > 0) {
            QTextCharFormat format;
            format.setBackground(Qt::blue);
            attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, targetFrom, targetLength, format);
        }
        QInputMethodEvent event(preedit, attributes);
        event.setCommitString(commit);
        QApplication::sendEvent(&Widget(), &event);
        driver.PumpWaiting();
    }
    bool ImeEnabled() { return Widget().inputMethodQuery(Qt::ImEnabled).toBool(); }
    QRect ImeCaret() { return Widget().inputMethodQuery(Qt::ImCursorRectangle).toRect(); }
    Edit* Editor() { return dynamic_cast<Edit*>(Grid().GetEditor()); }
    std::string Name(long row)
    {
        std::string name;
        return data.Get(static_cast<unsigned>(kPointName), row, name) ? name : std::string();
    }
};

} // namespace

TEST_F(DesktopImeTest, ComposesOnlyWhereTypingOpensATextEditor)
{
    manager.AttrDisable().Set(static_cast<unsigned>(kPointName), 10, 1, 1);
    data.Lock().Add({static_cast<unsigned>(kPointName), 12, 12}); // the editor refuses locked cells
    manager.AttrWarning().Set(static_cast<unsigned>(kPointName), 14, 1, 1);

    Click(1, 6);
    EXPECT_TRUE(ImeEnabled()) << "the person's input method composes in a text column from the start";
    Click(2, 6);
    EXPECT_FALSE(ImeEnabled()) << "a numeric column takes keys as digits";
    Compose(QStringLiteral("１"));
    EXPECT_EQ(Grid().GetEditor(), nullptr) << "a composition sent anyway opens nothing";
    Click(5, 6);
    EXPECT_FALSE(ImeEnabled()) << "nor does a list column compose";
    Click(1, 6);
    EXPECT_TRUE(ImeEnabled()) << "back in a text column, the input method is given back";

    Click(1, 10);
    EXPECT_FALSE(ImeEnabled()) << "a disabled cell";
    Click(1, 12);
    const std::string locked = Name(12);
    Compose(QStringLiteral("t"));
    EXPECT_EQ(Grid().GetEditor(), nullptr) << "the host refused the cell: no editor, no composition";
    EXPECT_FALSE(ImeEnabled()) << "and none on that cell until the caret moves";
    EXPECT_EQ(Name(12), locked);

    Click(1, 14);
    Compose(QStringLiteral("き"), QString());
    Compose(QString(), QStringLiteral("木"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Name(14), "木") << "a cell in warning takes composed input as it takes typing";
}

TEST_F(DesktopImeTest, AFirstComposedCharacterOnASelectedCellOpensItsEditorKeepsEverythingAndUndoesAsOne)
{
    Click(1, 2);
    ASSERT_EQ(Grid().GetEditor(), nullptr);
    Compose(QStringLiteral("t"));
    ASSERT_NE(Editor(), nullptr) << "the composition opened the cell's editor";
    EXPECT_EQ(Editor()->GetWindowText(), "") << "nothing committed as a plain letter; the cell's text gives way";
    EXPECT_EQ(Editor()->GetShownText(), "t");
    Compose(QStringLiteral("とうきょう"));
    EXPECT_EQ(Editor()->GetShownText(), "とうきょう");
    Compose(QString(), QStringLiteral("東京"));
    Compose(QStringLiteral("え"));
    Compose(QString(), QStringLiteral("駅"));
    EXPECT_EQ(Editor()->GetWindowText(), "東京駅");
    Key(Qt::Key_Return);
    EXPECT_EQ(Name(2), "東京駅");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Name(2), "T3") << "both compositions went in as one input, taken back as one step";
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Name(2), "東京駅");
}

TEST_F(DesktopImeTest, TheCompositionIsDrawnInlineAndTheInputMethodWindowFollowsTheCaret)
{
    Click(1, 2);
    Compose(QStringLiteral("とうきょう"), {}, -1, 0, 2);
    const QRect cell = Cell(1, 2);
    const QImage screen = Widget().grab().toImage();
    // An underline runs under the composition; the two characters being converted are tinted.
    int underlined = 0;
    int tinted = 0;
    for (int y = cell.top() + 1; y < cell.bottom(); ++y) {
        int dark = 0;
        for (int x = cell.left() + 2; x < cell.left() + 60; ++x) {
            const QColor color = screen.pixelColor(x, y);
            dark += color.lightness() < 80;
            tinted += color.blue() > color.red() + 20 && color.lightness() > 150;
        }
        underlined = std::max(underlined, dark);
    }
    EXPECT_GT(underlined, 40) << "a line of text colour under the composed characters";
    EXPECT_GT(tinted, 20) << "the segment being converted is marked";

    // The input method's window goes to the caret: after the composition, where its own
    // cursor moves, and with the cell when the grid scrolls.
    const QRect atEnd = ImeCaret();
    EXPECT_TRUE(cell.adjusted(0, -1, 0, 1).contains(atEnd.topLeft()));
    EXPECT_GT(atEnd.left(), cell.left() + 40) << "after five composed characters";
    Compose(QStringLiteral("とうきょう"), {}, 1);
    EXPECT_LT(ImeCaret().left(), atEnd.left() - 30) << "the composition's cursor after its first character";
    const QPointF away = Cell(1, 6).center();
    QWheelEvent wheel(away, Widget().mapToGlobal(away), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Widget(), &wheel);
    driver.PumpWaiting();
    ASSERT_NE(Editor(), nullptr) << "scrolling leaves the composition where it is";
    EXPECT_EQ(Editor()->GetShownText(), "とうきょう");
    ASSERT_NE(Cell(1, 2).top(), cell.top()) << "the grid scrolled";
    EXPECT_TRUE(Cell(1, 2).adjusted(0, -1, 0, 1).contains(ImeCaret().topLeft())) << "the window moved with the cell";
}

TEST_F(DesktopImeTest, ReturnAndEscapeEndOnlyTheCompositionAndOtherKeysClicksAndMenusCommitItFirst)
{
    Click(1, 2);
    Compose(QStringLiteral("とうきょう"));
    Key(Qt::Key_Return);
    ASSERT_NE(Editor(), nullptr) << "Return took the composition and stayed in the editor";
    EXPECT_EQ(Editor()->GetWindowText(), "とうきょう");
    EXPECT_EQ(Name(2), "T3");
    Key(Qt::Key_Return);
    EXPECT_EQ(Name(2), "とうきょう") << "only a Return with nothing composed stores the cell";

    Click(1, 3);
    Compose(QStringLiteral("やま"));
    Key(Qt::Key_Escape);
    ASSERT_NE(Editor(), nullptr) << "Escape dropped only the composition";
    EXPECT_EQ(Editor()->GetShownText(), "");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Grid().GetEditor(), nullptr);
    EXPECT_EQ(Name(3), "T4") << "the next Escape left the editor as it does";

    for (const auto& [row, key] : {std::pair{4L, Qt::Key_Tab}, {5L, Qt::Key_Down}}) {
        Click(1, row);
        Compose(QStringLiteral("かわ"));
        Key(key);
        EXPECT_EQ(Name(row), "かわ") << "a key that leaves the cell commits first: " << key;
    }
    const std::string below = Name(8);
    Click(1, 6);
    Compose(QStringLiteral("はし"));
    Click(1, 8);
    EXPECT_EQ(Name(6), "はし") << "a click on another cell commits into the cell it was typed in";
    EXPECT_EQ(Name(8), below) << "never into the cell clicked";

    Compose(QStringLiteral("いけ"));
    QTimer::singleShot(100, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QTest::mouseClick(&Widget(), Qt::LeftButton, {}, QPoint(12, 8)); // the menu bar's first title
    driver.PumpWaiting();
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->GetWindowText(), "いけ") << "a menu takes the composition into the cell first";
}
