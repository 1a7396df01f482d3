// The lot-number list editor worked through the headless driver, as a person and as the host's
// own code use it: its columns and template key, the lot-number check, documents saved, opened
// and refused, sorting and line insertion as undo steps, its menus and help.
#include "LotData.h"
#include "LotFrame.h"
#include "LotManager.h"
#include "LotResources.h"
#include "components/support/NifCommonMenu.h"
#include "components/support/SolKey.h"
#include "components/support/SolRegistry.h"
#include "platform/io/Files.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/text/CsvText.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/Help.h"
#include "platform/ui/Renderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace plat;
using namespace lots;
namespace fs = std::filesystem;

namespace {

// Once the frame has closed the table is no longer bound, and only item numbers (the order of
// the declaration) name its items.
constexpr long kLotNoItem = 0;
constexpr long kAreaItem = 2;

class LotEditorTest : public ::testing::Test {
protected:
    LotEditorTest()
    {
        RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
        m_dir = fs::temp_directory_path() / ("tavcell-lots-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
        driver.SetScreenSize(SIZE{100 * 8, 20 * 16});
        frame.Open(driver.ScreenSize());
        app.SetMainWnd(&frame);
    }
    ~LotEditorTest() override
    {
        if (frame.IsWindow())
            frame.DestroyWindow();
        RegSetStore(HKEY_CURRENT_USER, nullptr);
        std::error_code error;
        fs::remove_all(m_dir, error);
    }

    void SetLot(TavData& table, long record, const char* lotNo, int category, double area)
    {
        ASSERT_TRUE(table.Set(static_cast<unsigned>(kLotNo), record, lotNo)) << lotNo;
        EXPECT_TRUE(table.Set(static_cast<unsigned>(kCategory), record, category));
        EXPECT_TRUE(table.Set(static_cast<unsigned>(kArea), record, area));
    }
    std::vector<std::string> LotNumbers(long records)
    {
        std::vector<std::string> numbers;
        for (long record = 0; record < records; ++record) {
            std::string text;
            static_cast<void>(data.Get(kLotNoItem, record, text)); // a blank one reads as empty
            numbers.push_back(text);
        }
        return numbers;
    }
    // A lot's area, -1 when its cell holds none.
    double Area(long record) { double area = -1; return data.Get(kAreaItem, record, area) ? area : -1; }
    std::string Screen()
    {
        Canvas canvas(100, 20);
        Renderer().Paint(canvas);
        return canvas.ToText();
    }

    HeadlessDriver driver;
    WinApp app{"地番一覧", "Application", &driver};
    LotManager manager{20};
    LotData data;
    LotFrame frame{manager, data};
    fs::path m_dir;
};

TEST_F(LotEditorTest, ItsColumnsShowTheLotsAndItsTemplatesLieUnderItsOwnApplicationKey)
{
    SetLot(data, 0, "1234-5", 5, 245.5);
    frame.Grid().Invalidate();
    const std::string screen = Screen();
    for (const char* shown : {"地番", "地目", "地積", "所有者", "備考", "1234-5", "雑種地", "245.50"})
        EXPECT_NE(screen.find(shown), std::string::npos) << shown << " in\n" << screen;

    SolKey application;
    ASSERT_TRUE(SolGetApplicationKey(application));
    EXPECT_NE(SolGetApplicationKeyName().find("地番一覧"), std::string::npos) << SolGetApplicationKeyName();
    SolKey templates;
    EXPECT_TRUE(templates.Open(application, "Lots\\Cell Template\\Lots\\標準"));
}

TEST_F(LotEditorTest, OnlyLotNumbersReachTheLotNumberCellWhetherTypedOrSetInCode)
{
    for (const char* good : {"1", "1234-5", "1234-5-2", ""})
        EXPECT_TRUE(LotData::IsLotNumber(good)) << good;
    for (const char* bad : {"-1", "1-", "12--3", "1a", "１２", " 1"})
        EXPECT_FALSE(LotData::IsLotNumber(bad)) << bad;

    EXPECT_TRUE(data.Set(static_cast<unsigned>(kLotNo), 0, "77-1"));
    EXPECT_FALSE(data.Set(static_cast<unsigned>(kLotNo), 0, "77 1")) << "the hook refuses";
    // Typed: the refused text leaves the cell as it was; an area shows two decimals.
    driver.PushText("12x");
    driver.PushKeys({VK_RETURN, VK_ESCAPE, VK_HOME, VK_DOWN}); // Return: the editor keeps what the table refused; Escape leaves it
    driver.PushText("12-3");
    driver.PushKeys({VK_TAB, VK_TAB});
    driver.PushText("100.5");
    driver.PushKey(VK_RETURN);
    driver.PushKey('Q', false, true);
    driver.AnswerMessageBox(IDNO);
    std::string screen;
    driver.WhenEventsLeft(1, [&] { screen = Screen(); });
    app.Run();
    EXPECT_EQ(LotNumbers(2), (std::vector<std::string>{"77-1", "12-3"}));
    EXPECT_DOUBLE_EQ(Area(1), 100.5) << screen;
    EXPECT_NE(screen.find("100.50"), std::string::npos) << "two decimals: " << screen;
}

TEST_F(LotEditorTest, SavedListsOpenWholeAndOneWithMoreLotsThanRowsIsRefusedWithTheLotMessage)
{
    SetLot(data, 0, "5", 0, 10);
    SetLot(data, 1, "6", 1, 20.25);
    const fs::path small = m_dir / "small.tld";
    frame.SetDocumentPath(small);
    ASSERT_TRUE(frame.Save());
    EXPECT_FALSE(data.IsModified());

    // A list written by an editor with more rows.
    LotManager wideManager{40};
    LotData wide;
    LotFrame wideFrame{wideManager, wide};
    ASSERT_TRUE(wideFrame.Open(driver.ScreenSize()));
    for (long record = 0; record < 30; ++record)
        SetLot(wide, record, std::to_string(record + 100).c_str(), 2, 1.5);
    const fs::path large = m_dir / "large.tld";
    wideFrame.SetDocumentPath(large);
    ASSERT_TRUE(wideFrame.Save());
    wideFrame.DestroyWindow();

    EXPECT_TRUE(data.Set(static_cast<unsigned>(kOwner), 0, "changed"));
    driver.ClearMessageBoxes();
    EXPECT_FALSE(frame.OpenFile(large));
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "最大地番数を超えました。処理を終了します。");
    EXPECT_EQ(driver.MessageBoxes()[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(data.IsModified()) << "the editor keeps its table and its changes";
    EXPECT_EQ(frame.GetDocumentPath(), small);

    EXPECT_TRUE(frame.OpenFile(small));
    EXPECT_EQ(LotNumbers(3), (std::vector<std::string>{"5", "6", ""}));
    std::string owner;
    static_cast<void>(data.Get(static_cast<unsigned>(kOwner), 0, owner)); // a blank one reads as empty
    EXPECT_EQ(owner, "") << "the saved list, not the changes";
}

TEST_F(LotEditorTest, SortingAndInsertingFromCodeAreStepsThatUndoTakesBackWhole)
{
    const char* numbers[] = {"10", "2-1", "", "2", "1"};
    for (long record = 0; record < 5; ++record)
        SetLot(data, record, numbers[record], static_cast<int>(record), 1.0 + static_cast<double>(record));
    data.SetModifiedFlag(FALSE);

    ASSERT_TRUE(frame.SortByLotNumber());
    EXPECT_EQ(LotNumbers(5), (std::vector<std::string>{"1", "2", "2-1", "10", ""}));
    EXPECT_DOUBLE_EQ(Area(3), 1.0) << "the other items travel with their lot";
    EXPECT_EQ(data.History().UndoName(), "並べ替え");

    ASSERT_TRUE(frame.InsertLines(1, 2));
    EXPECT_EQ(LotNumbers(7), (std::vector<std::string>{"1", "", "", "2", "2-1", "10", ""}));
    ASSERT_TRUE(data.History().Undo());
    ASSERT_TRUE(data.History().Undo());
    EXPECT_EQ(LotNumbers(5), (std::vector<std::string>{"10", "2-1", "", "2", "1"}));
    EXPECT_FALSE(data.IsModified()) << "back at the saved point";
    ASSERT_TRUE(data.History().Redo());
    EXPECT_EQ(LotNumbers(5), (std::vector<std::string>{"1", "2", "2-1", "10", ""}));
}

TEST_F(LotEditorTest, CsvGoesOutAsTheCellsShowItAndComesBackByHeadingAsOneUndoStepOrNotAtAll)
{
    SetLot(data, 0, "12-3", 5, 1234.5);
    ASSERT_TRUE(data.Set(static_cast<unsigned>(kOwner), 0, "山田, \"太郎\""));
    SetLot(data, 2, "7", 0, 88);
    const fs::path utf8 = m_dir / "utf8.csv";
    const fs::path narrow = m_dir / "narrow.csv";
    ASSERT_TRUE(frame.ExportCsv(utf8, CsvEncoding::Utf8WithMark));
    ASSERT_TRUE(frame.ExportCsv(narrow, CsvEncoding::NarrowCodePage));
    std::vector<std::uint8_t> bytes;
    ASSERT_FALSE(ReadWholeFile(utf8, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "\xEF\xBB\xBF地番,地目,地積,所有者,備考\r\n12-3,雑種地,1234.50,\"山田, \"\"太郎\"\"\",\r\n7,宅地,88.00,,\r\n")
        << "the blank record is left out; fields with commas and quotes are quoted";

    SCOPED_TRACE("back in, replacing: the same cells, from either encoding");
    const std::vector<std::string> before = LotNumbers(3);
    data.SetModifiedFlag(FALSE);
    ASSERT_TRUE(frame.ImportCsv(narrow, true));
    EXPECT_EQ(LotNumbers(3), (std::vector<std::string>{"12-3", "7", ""}));
    std::string owner;
    EXPECT_TRUE(data.Get(static_cast<unsigned>(kOwner), 0, owner));
    EXPECT_EQ(owner, "山田, \"太郎\"");
    EXPECT_DOUBLE_EQ(Area(0), 1234.5);
    EXPECT_EQ(data.History().UndoName(), "読み込み");
    ASSERT_TRUE(data.History().Undo());
    EXPECT_EQ(LotNumbers(3), before) << "one undo takes the replacement back";

    SCOPED_TRACE("a spreadsheet's own column order, appended; then files refused whole, at row and column");
    const fs::path own = m_dir / "own.csv";
    ASSERT_FALSE(WriteFileAtomically(own, "\xEF\xBB\xBF備考, 地番\r\nメモ,99\r\n,100-1\r\n"));
    ASSERT_TRUE(frame.ImportCsv(own, false));
    EXPECT_EQ(LotNumbers(5), (std::vector<std::string>{"12-3", "", "7", "99", "100-1"}));
    const std::size_t steps = data.History().GetStepCount();
    driver.ClearMessageBoxes();
    const fs::path badLot = m_dir / "bad-lot.csv";
    ASSERT_FALSE(WriteFileAtomically(badLot, "\xEF\xBB\xBF地番,地積\r\n1,5\r\n1 2,6\r\n"));
    driver.AnswerMessageBox(IDOK);
    EXPECT_FALSE(frame.ImportCsv(badLot, true));
    const fs::path badArea = m_dir / "bad-area.csv";
    ASSERT_FALSE(WriteFileAtomically(badArea, "\xEF\xBB\xBF地番,地積\r\n1,abc\r\n"));
    driver.AnswerMessageBox(IDOK);
    EXPECT_FALSE(frame.ImportCsv(badArea, false));
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_NE(driver.MessageBoxes()[0].text.find("bad-lot.csv の 3 行目 1 列目"), std::string::npos) << driver.MessageBoxes()[0].text;
    EXPECT_NE(driver.MessageBoxes()[1].text.find("bad-area.csv の 2 行目 2 列目"), std::string::npos) << driver.MessageBoxes()[1].text;
    EXPECT_EQ(LotNumbers(5), (std::vector<std::string>{"12-3", "", "7", "99", "100-1"})) << "nothing changed";
    EXPECT_EQ(data.History().GetStepCount(), steps);
}

TEST_F(LotEditorTest, ItsMenusReachTheGridsCommandsAndF1ShowsTheCaretItemsHelp)
{
    const std::string screen = Screen();
    EXPECT_EQ(screen.substr(0, screen.find('\n')), "  ファイル(F)  編集(E)  ｾﾙ(C)  ツール(T)  ヘルプ(H)  | 地番一覧 - (無題)");
    app.SetHelpFilePath(LOTS_HELP);
    std::vector<std::string> topics;
    driver.OnEveryDialog([&](DialogOperator& person) {
        topics.push_back(person.Caption());
        person.Escape();
    });
    driver.PushKeys({VK_RIGHT, VK_F10, VK_RIGHT, VK_DOWN, VK_RIGHT, VK_ESCAPE, VK_ESCAPE, VK_F1}); // on 地目, through 編集 to ｾﾙ, then F1
    driver.PushKey('Q', false, true);
    app.Run();
    EXPECT_EQ(topics, std::vector<std::string>{"地目"});

    Menu* edit = frame.GetMenu()->GetSubMenu(1);
    Menu* cell = frame.GetMenu()->GetSubMenu(2);
    ASSERT_TRUE(edit && cell);
    auto greyed = [](Menu* menu, UINT id) { return (menu->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    EXPECT_FALSE(greyed(edit, plat::ID_EDIT_COPY)) << "the grid copies";
    EXPECT_TRUE(greyed(edit, plat::ID_EDIT_REDO)) << "nothing to redo";
    for (const UINT command : {NifCommand::Jump, NifCommand::Find, NifCommand::LineInsert, NifCommand::Lock})
        EXPECT_FALSE(greyed(cell, command)) << std::hex << command;

    HelpFile help;
    std::string error;
    ASSERT_TRUE(help.Load(LOTS_HELP, &error)) << error;
    for (unsigned id = kLotNo; id <= kNote; ++id)
        EXPECT_NE(help.Find(kItemHelpBase + id), nullptr) << id;
}

} // namespace
