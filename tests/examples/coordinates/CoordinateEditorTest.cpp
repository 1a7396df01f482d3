// The coordinate-list editor worked through the headless driver: the sample survey in the
// grid, a point typed into a new row and saved, a damaged file refused, quitting with
// unsaved changes, its menus, status prompts and help, and its file commands' failures.
#include "examples/coordinates/CoordinateFrame.h"

#include "components/mox/MoxMessages.h"
#include "components/mox/MoxRectArray.h"
#include "components/support/KesTemplates.h"
#include "components/support/NifCommonMenu.h"
#include "components/support/SolKey.h"
#include "components/support/SolRegistry.h"
#include "components/support/TavcRadiusCtrl.h"
#include "examples/coordinates/CoordinateResources.h"
#include "examples/coordinates/SampleSurvey.h"
#include "platform/io/Files.h"
#include "platform/print/PrintDialog.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/Help.h"
#include "platform/ui/Renderer.h"
#include "tav/dialogs/TavLayoutResources.h"
#include "tests/examples/coordinates/StoredPoint.h"
#include "tests/examples/coordinates/SurveyDocument.h"
#include "tests/ScopedEnvironment.h"
#include "tests/TemporaryFolder.h"
#include "tests/platform/registry/MemoryRegistry.h"
#include "tests/tav/data/TestHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace plat;
using namespace coordinates;
namespace fs = std::filesystem;

namespace {

class CoordinateEditorTest : public ::testing::Test {
protected:
    tavtest::MemoryRegistry m_registry;
    CoordinateEditorTest()
    {
        driver.SetScreenSize(SIZE{100 * 8, 20 * 16});
        frame.Open(driver.ScreenSize());
        app.SetMainWnd(&frame);
        points = FillSampleSurvey(data);
        data.SetModifiedFlag(FALSE);
    }
    ~CoordinateEditorTest() override
    {
        if (frame.IsWindow())
            frame.DestroyWindow();
    }

    // The next name dialog (Save As, Open) gets this name and OK.
    void AnswerName(const fs::path& name)
    {
        driver.OnNextDialog([name](DialogOperator& person) {
            person.SetText(KES_IDC_TEXT, name.string());
            person.Return();
        });
    }
    std::string LastMessage() const { return driver.MessageBoxes().empty() ? std::string() : driver.MessageBoxes().back().text; }
    // A point name (item 1, so that a table no manager declares reads too); a blank one reads
    // as empty.
    static std::string NameIn(const TavData& table, long record = 0)
    {
        std::string name;
        static_cast<void>(table.Get(1L, record, name));
        return name;
    }
    std::string Name(long record = 0) { return NameIn(data, record); }
    static std::string FirstName(const fs::path& document)
    {
        TavData loaded;
        coordinates_test::LoadDocument(document, loaded);
        return NameIn(loaded);
    }
    void Rename(TavData& table, const std::string& name) { EXPECT_TRUE(table.Set(static_cast<unsigned>(kPointName), 0, name)); }

    // Ctrl and the key, as a person presses them, carried out.
    void PressCtrl(char key)
    {
        driver.PushKey(key, false, true);
        app.Run();
    }
    // The screen as the terminal front end shows it now.
    const Canvas& Painted()
    {
        Renderer().Paint(canvas);
        return canvas;
    }

    HeadlessDriver driver;
    WinApp app{"座標一覧", "Application", &driver};
    Canvas canvas{100, 20};
    CoordinateManager manager{2000};
    TavData data;
    CoordinateFrame frame{manager, data};
    long points = 0;
    tavtest::TemporaryFolder m_folder{"tavcell-coordinates"};
    const fs::path m_dir = m_folder.Path();
    tavtest::ScopedEnvironment m_dataHome{"XDG_DATA_HOME", (m_dir / "data").string()}; // recovery copies of untitled tables
};

TEST_F(CoordinateEditorTest, TheSampleSurveyShowsInTheGridUnderJapaneseHeadings)
{
    EXPECT_GE(points, 300);
    EXPECT_EQ(data.GetLastInputRecordNo(), points - 1);
    Painted();
    EXPECT_EQ(canvas.LineText(0), "  ファイル(F)  編集(E)  ｾﾙ(C)  ツール(T)  ヘルプ(H)  | 座標一覧 - (無題)");
    for (const char* heading : {"点番", "点名", "X座標", "Y座標", "標高", "コード", "線種", "半径", "確定"})
        EXPECT_NE(canvas.LineText(1).find(heading), std::string::npos) << heading << " in " << canvas.LineText(1);
    EXPECT_NE(canvas.LineText(2).find("T1"), std::string::npos) << canvas.ToText();
    EXPECT_NE(canvas.LineText(2).find("基準点"), std::string::npos) << "a code shows as its name";
    EXPECT_EQ(canvas.LineText(19).find(" 点番号 "), 0u) << "the caret item's prompt: " << canvas.LineText(19);
    EXPECT_NE(canvas.LineText(19).find("F10 メニュー  F1 ヘルプ  Ctrl+Q 終了"), std::string::npos) << canvas.LineText(19);
}

TEST_F(CoordinateEditorTest, ItsTemplatesLieUnderTheProgramsApplicationKey)
{
    SolKey application;
    ASSERT_TRUE(SolGetApplicationKey(application));
    SolKey templates;
    EXPECT_TRUE(templates.Open(application, "Coordinates\\Cell Template\\Coordinates\\標準"))
        << "the template stored at binding is where a transfer of this program's templates looks";
    using namespace std::string_literals;
    tavtest::WriteFuzzSeed("template_values", "coordinates-standard",
                           templates.GetString("Template") + "\0"s + templates.GetString("Width") + "\0\0"s + "1");
}

TEST_F(CoordinateEditorTest, ACellsEditorOpensOnTheCellsValueAndKeepsItWhileTheGridRepaints)
{
    auto openAt = [&](int column, int record) {
        frame.Grid().SetCurSel(MoxPos{column, record}, 0);
        frame.Grid().SendMessage(MOXM_OPENEDITOR);
        Painted();
    };
    openAt(5, 12);
    auto* code = dynamic_cast<ComboBox*>(frame.GetDlgItem(206));
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->IsWindowVisible());
    EXPECT_EQ(code->GetWindowText(), "引照点") << "R1's code, not an empty list";
    frame.Grid().SendMessage(MOXM_CLOSEEDITOR, 0);

    frame.Grid().SetCurSel(MoxPos{7, 245}, 0); // so that D11's radius shows below D6's
    openAt(7, 233);
    auto* radius = dynamic_cast<TavcRadiusCtrl*>(frame.GetDlgItem(208));
    ASSERT_NE(radius, nullptr);
    ASSERT_TRUE(radius->IsWindowVisible());
    EXPECT_NE(canvas.ToText().find("170.000 右"), std::string::npos) << "a later radius was painted\n" << canvas.ToText();
    EXPECT_EQ(radius->GetEdit().GetWindowText(), "160.000") << "D6's radius, whatever other cells were painted";
    frame.Grid().SendMessage(MOXM_CLOSEEDITOR, 0);
    EXPECT_NE(canvas.ToText().find("未確定"), std::string::npos) << "the flag's column fits its longer text";
}

TEST_F(CoordinateEditorTest, ADocumentItCannotReadWholeIsRefusedAndTheEditorKeepsWhatItHad)
{
    const fs::path good = m_dir / "good.tcd";
    frame.SetDocumentPath(good);
    ASSERT_TRUE(frame.Save());
    std::vector<std::uint8_t> trailing;
    ASSERT_FALSE(ReadWholeFile(good, trailing));
    tavtest::WriteFuzzSeed("document", "sample", trailing);
    const std::vector<std::uint8_t> truncated(trailing.begin(), trailing.begin() + static_cast<std::ptrdiff_t>(trailing.size() / 2));
    trailing.push_back(0);
    EXPECT_TRUE(data.Set(static_cast<unsigned>(kPointName), 0, std::string("変更")));

    struct Refused {
        fs::path path;
        std::vector<std::uint8_t> bytes;
        std::string says;
    };
    const Refused refused[] = {
        {m_dir / "long.tcd", coordinates_test::SurveyDocument("3000-points", 3000), "最大座標数を超えました。処理を終了します。"},
        {m_dir / "damaged.tcd", truncated, "ファイルを開けませんでした。"},
        {m_dir / "trailing.tcd", trailing, "ファイルを開けませんでした。\n1 bytes after the end of the document"},
        {"/dev/zero", {}, "ファイルを開けませんでした。\n/dev/zero: 通常のファイルではありません"},
        {m_dir, {}, "ファイルを開けませんでした。"},
    };
    for (const Refused& document : refused) {
        if (!document.bytes.empty()) {
            ASSERT_FALSE(WriteFileAtomically(document.path, document.bytes));
        }
        driver.ClearMessageBoxes();
        EXPECT_FALSE(frame.OpenFile(document.path)) << document.path;
        ASSERT_EQ(driver.MessageBoxes().size(), 1u) << document.path;
        EXPECT_EQ(driver.MessageBoxes()[0].text.rfind(document.says, 0), 0u) << driver.MessageBoxes()[0].text;
        EXPECT_EQ(driver.MessageBoxes()[0].style, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_EQ(Name(), "変更") << document.path << ": the editor keeps its table";
        EXPECT_EQ(data.GetLastInputRecordNo(), points - 1);
        EXPECT_TRUE(data.IsModified());
        EXPECT_EQ(frame.GetDocumentPath(), good) << "a later save goes where it went before";
        std::vector<std::uint8_t> after;
        if (!document.bytes.empty()) {
            ASSERT_FALSE(ReadWholeFile(document.path, after));
            EXPECT_TRUE(after == document.bytes) << document.path << " is left as it was";
        }
    }
}

TEST_F(CoordinateEditorTest, DocumentsOfOtherVersionsOpenWithTheColumnsThisOneKnows)
{
    struct Version {
        const char* name;
        std::function<void(TavData&)> adjust;
        const char* heading; // on the heading line
        const char* point;   // on the first point's line
    };
    // The widest columns show the point number's heading, its number out of sight at the
    // right end of a column 4,095 characters wide.
    const Version versions[] = {
        {"newer.tcd", coordinates_test::AddNewerColumn, "点名", "P1"},
        {"few-widths.tcd", [](TavData& table) { table.Width().resize(3); }, "点名", "P1"},
        {"wide.tcd", [](TavData& table) { table.Width().assign(9, 0xFFFFFFFFu); }, "点番", ""},
    };
    for (const auto& [name, adjust, heading, point] : versions) {
        const fs::path path = m_dir / name;
        ASSERT_FALSE(WriteFileAtomically(path, coordinates_test::SurveyDocument(name, 5, adjust)));
        driver.ClearMessageBoxes();
        ASSERT_TRUE(frame.OpenFile(path)) << name;
        EXPECT_TRUE(driver.MessageBoxes().empty()) << name;
        Painted();
        EXPECT_NE(canvas.LineText(1).find(heading), std::string::npos) << name << "\n" << canvas.ToText();
        EXPECT_NE(canvas.LineText(2).find(point), std::string::npos) << name << "\n" << canvas.ToText();
        EXPECT_EQ(data.GetLastInputRecordNo(), 4);
        EXPECT_FALSE(data.IsModified()) << name;
        driver.PushKey(VK_END, false, true);
        driver.PushKey(VK_RIGHT);
        app.Run();
        EXPECT_EQ(frame.Grid().GetCaret().row, 4) << name;
    }

    // A newer version's table with one more item that holds data: opening it would lose
    // that item at the next save, so the person is asked first, and No leaves all as it was.
    struct NewerTable : TavData {
        unsigned OnGetDataSize(long item) const override { return item >= 9 ? 8 : TavData::OnGetDataSize(item); }
        BOOL OnDataChanging(long item, long record, const void* bytes) override { return item >= 9 || TavData::OnDataChanging(item, record, bytes); }
        void OnDataChanged(long item, long record) override
        {
            if (item < 9)
                TavData::OnDataChanged(item, record);
        }
    } newer;
    CoordinateManager newerManager{5};
    newer.TemplateName() = "標準";
    newer.Template() = {kPointNo, kPointName};
    newerManager.Associate(nullptr, &newer);
    EXPECT_TRUE(newer.Set(static_cast<unsigned>(kPointName), 0, std::string("P1")));
    ASSERT_TRUE(newer.AddItem(1));
    const double height = 12.5;
    ASSERT_TRUE(newer.SetBuffer(9, 0, &height, sizeof height));
    Archive out = Archive::ForStoring();
    newer.Serialize(out);
    const fs::path path = m_dir / "newer-item.tcd";
    ASSERT_FALSE(WriteFileAtomically(path, out.Bytes()));
    for (const int answer : {IDNO, IDYES}) {
        driver.ClearMessageBoxes();
        driver.AnswerMessageBox(answer);
        EXPECT_EQ(frame.OpenFile(path), answer == IDYES);
        ASSERT_EQ(driver.MessageBoxes().size(), 1u);
        EXPECT_NE(driver.MessageBoxes()[0].text.find("扱えない項目が 1 個"), std::string::npos) << driver.MessageBoxes()[0].text;
        EXPECT_EQ(frame.GetDocumentPath() == path, answer == IDYES);
    }
}

TEST_F(CoordinateEditorTest, QuittingWithChangesAsksAndCancelKeepsTheEditorOpen)
{
    const fs::path document = m_dir / "never.tcd";
    frame.SetDocumentPath(document);
    EXPECT_TRUE(data.Set(static_cast<unsigned>(kZ), 3, 30.0));
    driver.AnswerMessageBox(IDCANCEL);
    PressCtrl('Q');
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "変更を保存しますか？");
    EXPECT_EQ(driver.MessageBoxes()[0].style, MB_YESNOCANCEL | MB_ICONQUESTION);
    EXPECT_TRUE(frame.IsWindow()) << "cancelled";

    driver.AnswerMessageBox(IDNO);
    PressCtrl('Q');
    EXPECT_FALSE(frame.IsWindow());
    EXPECT_FALSE(fs::exists(document)) << "No leaves the file unwritten";
}

TEST_F(CoordinateEditorTest, UnsavedChangesGoToARecoveryCopyThatTheNextOpenOffers)
{
    const fs::path document = m_dir / "survey.tcd";
    const fs::path recovery = m_dir / "survey.tcd.recovery";
    frame.SetDocumentPath(document);
    ASSERT_TRUE(frame.Save());
    EXPECT_TRUE(frame.WriteRecovery());
    EXPECT_FALSE(fs::exists(recovery)) << "nothing unsaved, nothing to keep";
    auto changeAndKeep = [&] {
        EXPECT_TRUE(data.Set(static_cast<unsigned>(kPointName), 0, std::string("回復")));
        ASSERT_TRUE(frame.WriteRecovery());
        ASSERT_TRUE(fs::exists(recovery));
    };

    changeAndKeep();
    driver.AnswerMessageBox(IDNO);
    ASSERT_TRUE(frame.OpenFile(document));
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text,
              "前回保存されなかった変更が回復用コピーに残っています。\nsurvey.tcd.recovery\n回復用コピーを読み込みますか？");
    EXPECT_EQ(driver.MessageBoxes()[0].style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(Name(), "T1") << "declined: the document as saved";
    EXPECT_FALSE(fs::exists(recovery)) << "and the copy is gone";

    changeAndKeep();
    driver.AnswerMessageBox(IDYES);
    ASSERT_TRUE(frame.OpenFile(document));
    EXPECT_EQ(Name(), "回復");
    EXPECT_TRUE(data.IsModified()) << "the recovered changes are still to be saved";
    EXPECT_EQ(frame.GetDocumentPath(), document) << "into the document, not into the copy";
    EXPECT_TRUE(fs::exists(recovery)) << "kept until the changes are saved";
    ASSERT_TRUE(frame.Save());
    EXPECT_FALSE(fs::exists(recovery));
    EXPECT_EQ(FirstName(document), "回復");

    // An untitled table keeps its copy in the user's data folder.
    frame.SetDocumentPath({});
    EXPECT_TRUE(data.Set(static_cast<unsigned>(kPointName), 0, std::string("無題の変更")));
    EXPECT_TRUE(frame.WriteRecovery());
    EXPECT_TRUE(fs::exists(m_dir / "data" / "tavcell" / "coordinates-untitled.tcd.recovery"));
    EXPECT_TRUE(data.Set(static_cast<unsigned>(kPointName), 0, std::string("T1")));
    driver.AnswerMessageBox(IDYES);
    EXPECT_TRUE(frame.OfferRecovery());
    EXPECT_EQ(Name(), "無題の変更");
}

} // namespace

TEST_F(CoordinateEditorTest, TheMenusGreyWhatTheGridCannotDoYetAndF1ShowsTheCaretItemsHelp)
{
    app.SetHelpFilePath(TAVCELL_COORDINATES_HELP);
    std::vector<std::string> topics;
    driver.OnEveryDialog([&](DialogOperator& person) {
        topics.push_back(person.Caption());
        person.Escape();
    });
    driver.PushKeys({VK_RIGHT, VK_F10, VK_RIGHT, VK_DOWN, VK_RIGHT}); // on 点名, through 編集 to ｾﾙ
    driver.PushText("i");     // 行挿入, which needs whole lines selected
    driver.PushKeys({VK_ESCAPE, VK_ESCAPE, VK_F1});
    PressCtrl('Q');
    EXPECT_FALSE(frame.IsWindow()) << "nothing was changed, so Ctrl+Q quit without asking";
    EXPECT_EQ(data.GetLastInputRecordNo(), points - 1) << "no line was inserted";
    EXPECT_EQ(topics, std::vector<std::string>{"点名"});
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "行が選択されていません。");

    Menu* edit = frame.GetMenu()->GetSubMenu(1);
    Menu* cell = frame.GetMenu()->GetSubMenu(2);
    ASSERT_TRUE(edit && cell);
    auto greyed = [](Menu* menu, UINT id) { return (menu->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    EXPECT_FALSE(greyed(edit, plat::ID_EDIT_COPY)) << "the grid copies";
    EXPECT_TRUE(greyed(edit, plat::ID_EDIT_PASTE_SPECIAL));
    EXPECT_TRUE(greyed(edit, plat::ID_EDIT_UNDO));
    EXPECT_FALSE(greyed(cell, NifCommand::LineInsert)) << "the grid inserts lines";
}

TEST_F(CoordinateEditorTest, EveryItemAndCommandHasAHelpTopicAndF1ShowsItFromAMenuAndFromADialog)
{
    app.SetHelpFilePath(TAVCELL_COORDINATES_HELP);
    HelpFile help;
    std::string error;
    ASSERT_TRUE(help.Load(TAVCELL_COORDINATES_HELP, &error)) << error;
    for (unsigned id = kPointNo; id <= kFlag; ++id)
        EXPECT_NE(help.Find(0x20000 + id), nullptr) << "item " << id;
    // Every command of the menu bar, the shared menus' sub menus included.
    std::function<void(Menu&)> visit = [&](Menu& menu) {
        for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
            if (Menu* sub = menu.GetSubMenu(i))
                visit(*sub);
            else if (const UINT id = menu.GetMenuItemID(i); id != 0) {
                EXPECT_NE(help.Find(0x10000 + id), nullptr) << std::hex << id << " " << menu.GetMenuString(static_cast<UINT>(i), MF_BYPOSITION);
            }
        }
    };
    visit(*frame.GetMenu());

    std::vector<std::string> topics;
    driver.OnEveryDialog([&](DialogOperator& person) {
        if (person.Caption() == "ジャンプ先") {
            person.Key(VK_F1); // the dialog's own topic, over the dialog
            person.Escape();
            return;
        }
        topics.push_back(person.Caption());
        person.Escape();
    });
    driver.PushKeys({VK_F10, VK_DOWN, VK_F1}); // F1 on 新規
    driver.PushKey('G', false, true);
    // Shift+F1, then a click on a height while the caret is on a point number.
    RECT height{};
    ASSERT_TRUE(frame.Grid().GetCellRect(MoxPos{4, 3}, height));
    POINT click{(height.left + height.right) / 2, (height.top + height.bottom) / 2};
    frame.Grid().ClientToScreen(&click);
    driver.PushKey(VK_F1, true);
    driver.Push(InputEvent::MouseClick(click));
    app.Run();
    EXPECT_EQ(topics, (std::vector<std::string>{"新規 (ファイル メニュー)  Ctrl+N", "ジャンプ先 ダイアログ", "標高"}));
}

TEST_F(CoordinateEditorTest, LinesMovedByKeysAskBeforeOverwritingAndLandWhereTheCaretTookThem)
{
    const std::string third = Name(2);
    const std::string fourth = Name(3);
    CoordinateGrid& grid = frame.Grid();
    driver.PushKeys({VK_DOWN, VK_DOWN});
    driver.PushKey(VK_DOWN, true);     // lines 3 and 4
    driver.PushKey('L', false, true);  // as whole lines
    driver.PushKeys({VK_F10, VK_RIGHT, VK_DOWN, VK_RIGHT});
    driver.PushText("m");              // ｾﾙ, 行移動
    driver.PushKeys({VK_DOWN, VK_DOWN, VK_DOWN});
    app.Run();
    EXPECT_NE(Painted().LineText(19).find("Enter 実行"), std::string::npos) << canvas.LineText(19);

    driver.AnswerMessageBox(IDNO);
    driver.PushKey(VK_RETURN);
    app.Run();
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "移動先の 2 行にはデータがあります。\n上書きしますか？");
    EXPECT_EQ(Name(2), third) << "No keeps the lines that held data";

    MoxRectArray lines; // lines 3 and 4 again, as whole lines
    lines.Add(MoxRect(MoxPos{0, 2}, MoxPos{8, 3}), MoxRectArray::kWholeLines);
    grid.SendMessage(MOXM_SETSELECTION, reinterpret_cast<WPARAM>(&lines));
    driver.PushKeys({VK_F10, VK_RIGHT, VK_DOWN, VK_RIGHT});
    driver.PushText("m");
    driver.PushKeys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    driver.AnswerMessageBox(IDYES);
    app.Run();
    EXPECT_TRUE(data.QueryIsBlank(1L, 2));
    EXPECT_EQ(Name(5), third);
    EXPECT_EQ(Name(6), fourth);
    EXPECT_TRUE(data.IsModified());
}

TEST_F(CoordinateEditorTest, TheCellMenusPrintCommandWritesTheSurveyToAPdfFile)
{
    const fs::path pdf = m_dir / "survey.pdf";
    driver.OnNextDialog([&](DialogOperator& person) {
        EXPECT_EQ(person.Caption(), "印刷");
        person.Pick(PrintDialog::kPrinterId, 0);
        person.SetText(PrintDialog::kFileId, pdf.string());
        person.Return();
    });
    driver.PushKeys({VK_F10, VK_RIGHT, VK_DOWN, VK_RIGHT}); // ｾﾙ
    driver.PushText("p");     // 印刷
    app.Run();
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_TRUE(driver.MessageBoxes().empty()) << "the columns fit the paper, shrunk or turned, so nothing was split";

    // Every column is on paper: the last one's values, the heading rows and the page numbers.
    const fs::path text = m_dir / "survey.txt";
    ASSERT_EQ(std::system(("pdftotext -layout -enc UTF-8 '" + pdf.string() + "' '" + text.string() + "'").c_str()), 0);
    std::ifstream in(text);
    const std::string printed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(printed.find("未確定"), std::string::npos) << "the flag column";
    EXPECT_NE(printed.find("座標一覧 - (無題)"), std::string::npos) << "the title line";
    EXPECT_NE(printed.find("page 1 / "), std::string::npos);
    const std::size_t last = printed.rfind("page ");
    ASSERT_NE(last, std::string::npos);
    const std::string lastNumber = printed.substr(last, printed.find('\n', last) - last);
    EXPECT_NE(lastNumber.find(" / "), std::string::npos) << lastNumber;
    EXPECT_EQ(lastNumber.substr(5, lastNumber.find(" / ") - 5), lastNumber.substr(lastNumber.find(" / ") + 3))
        << "the last page is page m of m: " << lastNumber;
}

TEST_F(CoordinateEditorTest, TheStatusLineNamesTheCaretsItemAsAnItemChangeIsUndoneAndRedone)
{
    driver.OnNextDialog([](DialogOperator& person) {
        person.Pick(IDC_TAV_CHANGE_USED, "点番");
        person.Click(IDC_TAV_CHANGE_REMOVE);
        person.Click(IDOK);
    });
    InputEvent altC = InputEvent::KeyPress('C');
    altC.alt = true;
    driver.Push(altC);
    driver.PushText("h"); // 項目変更: the caret's column now shows the point name
    app.Run();
    ASSERT_EQ(data.Template().front(), static_cast<unsigned>(kPointName));
    EXPECT_EQ(frame.GetMessageText(), "点名");
    // The caret keeps its column while the item under it changes each way.
    for (const auto& [key, prompt] : {std::pair{'Z', "点番号"}, std::pair{'Y', "点名"}}) {
        PressCtrl(key);
        EXPECT_EQ(frame.GetMessageText(), prompt) << (key == 'Z' ? "undone" : "redone");
    }
}

TEST_F(CoordinateEditorTest, ABulkCorrectionOfTheToggleColumnIsWorkedByKeysAndGivesTheKeysBack)
{
    CoordinateGrid& grid = frame.Grid();
    const int before = CellValue<int>(data, static_cast<unsigned>(kFlag), 0);
    RECT toggle{};
    RECT ok{};
    driver.WhenEventsLeft(3, [&] {
        Wnd* dialog = Wnd::GetFocus() != nullptr ? Wnd::GetFocus()->GetParent() : nullptr;
        ASSERT_NE(dialog, nullptr);
        Wnd::GetFocus()->GetWindowRect(&toggle);
        if (Wnd* button = dialog->GetDlgItem(IDOK))
            button->GetWindowRect(&ok);
    });
    driver.PushKey(VK_END);
    driver.PushKey(VK_DOWN, true);
    driver.PushKey(VK_DOWN, true);
    InputEvent altC = InputEvent::KeyPress('C');
    altC.alt = true;
    driver.Push(altC);
    driver.PushText("a");             // 範囲補正: the toggle of 確定 borrowed, focused
    driver.PushKeys({VK_SPACE, VK_RETURN, VK_DOWN}); // step it, OK, and the grid has the keys again
    app.Run();
    EXPECT_LE(toggle.bottom, ok.top) << "the borrowed toggle leaves the buttons below it free";
    for (long record = 0; record < 3; ++record) {
        EXPECT_EQ(CellValue<int>(data, static_cast<unsigned>(kFlag), record), 1 - before) << "record " << record << " took the stepped choice";
    }
    EXPECT_EQ(Wnd::GetFocus(), &grid);
    EXPECT_EQ(grid.GetCaret().row, 3) << "Down moved the caret after the dialog";
}

TEST_F(CoordinateEditorTest, SelectAllViewSettingsAndReadAloudAreCommandsThatDoSomething)
{
    CoordinateGrid& grid = frame.Grid();
    PressCtrl('A');
    ASSERT_EQ(grid.GetSelection().GetSize(), 1u);
    EXPECT_EQ(grid.GetSelection().GetAt(0), MoxRect(MoxPos{0, 0}, MoxPos{8, 1999})) << "every cell";

    SCOPED_TRACE("whether the ｾﾙ menu offers the command, as it would when opened");
    auto enabled = [&](UINT id) {
        Menu* cell = frame.GetMenu()->GetSubMenu(2);
        frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(cell->GetSafeHmenu()), 0);
        return (cell->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) == 0;
    };
    EXPECT_TRUE(enabled(NifCommand::ViewSettings));
    bool sheetOpened = false;
    driver.OnNextDialog([&](DialogOperator& person) {
        sheetOpened = person.Caption() == "ｾﾙ";
        person.Escape();
    });
    frame.SendMessage(WM_COMMAND, NifCommand::ViewSettings);
    EXPECT_TRUE(sheetOpened) << "表示設定 opens the colour page";

    SCOPED_TRACE("the read-aloud program is found on the PATH: a stand-in writes what it was given");
    const fs::path bin = m_dir / "bin";
    fs::create_directories(bin);
    {
        tavtest::ScopedEnvironment path{"PATH", bin.string()};
        EXPECT_FALSE(enabled(NifCommand::Read)) << "greyed without espeak-ng";
        std::ofstream(bin / "espeak-ng") << "#!/bin/sh\nfor word in \"$@\"; do printf '%s\\n' \"$word\"; done > "
                                        << (m_dir / "spoken").string() << "\n";
        fs::permissions(bin / "espeak-ng", fs::perms::owner_all);
        EXPECT_TRUE(enabled(NifCommand::Read));
        grid.SetCurSel(MoxPos{1, 0}, 0);
        grid.SendMessage(WM_COMMAND, NifCommand::Read);
        app.Run(); // the library posts its speech message
    }
    const std::string spoken = Name();
    EXPECT_EQ(grid.LastSpoken(), "点名 " + spoken);
    std::string heard;
    for (int wait = 0; wait < 100 && heard.find(spoken) == std::string::npos; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream in(m_dir / "spoken");
        heard.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    EXPECT_EQ(heard, "-v\nja\n--\n点名 " + spoken + "\n") << "a Japanese voice reads the heading and the text";
}

TEST_F(CoordinateEditorTest, WithTheCellLockOnLockedCellsRefuseChangesAndTheStatusLineSaysWhy)
{
    MarkSampleStates(manager, data); // X and Y of the first three points locked
    const auto xOfT1 = [&] { return CellValue<double>(data, static_cast<unsigned>(kX), 0); };
    const double x = xOfT1();
    auto statusLine = [&] { return Painted().LineText(19); };
    driver.PushKeys({VK_RIGHT, VK_RIGHT}); // X of T1
    driver.PushText("5");
    app.Run();
    EXPECT_EQ(xOfT1(), x) << "typing into a locked cell";
    EXPECT_NE(statusLine().find("ロックされたセルは変更できません"), std::string::npos) << canvas.LineText(19);

    frame.Grid().SetCurSel(MoxPos{2, 0}, 0);
    driver.PushKey(VK_DELETE);
    app.Run();
    EXPECT_EQ(xOfT1(), x) << "clearing a locked cell";
    EXPECT_FALSE(data.History().CanUndo()) << "nothing was changed";

    frame.Grid().SendMessage(WM_COMMAND, NifCommand::Lock);
    frame.UpdateStatus();
    EXPECT_FALSE(manager.QueryCellLock());
    EXPECT_NE(statusLine().find("すべてのセルのロックを解除しました"), std::string::npos) << canvas.LineText(19);
}

TEST_F(CoordinateEditorTest, AFailedSaveKeepsTheNameAsItWasAndTheRecoveryCopyGoesWhereItCanBeWritten)
{
    const fs::path missing = m_dir / "missing" / "survey.tcd";
    Rename(data, "無題の変更");
    AnswerName(missing);
    EXPECT_FALSE(frame.Save());
    EXPECT_EQ(LastMessage(), "保存できませんでした。\n" + missing.string() + ": ファイルまたはフォルダがありません。");
    EXPECT_EQ(driver.MessageBoxes().back().style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(frame.GetDocumentPath().empty()) << "an unusable name is not the document's";
    EXPECT_TRUE(data.IsModified()) << "the changes are still to be saved";
    EXPECT_TRUE(frame.WriteRecovery());
    EXPECT_EQ(FirstName(CoordinateFrame::FallbackRecoveryPath({})), "無題の変更") << "a kill keeps the work";

    // Beside a document whose folder is gone nothing can be written: the copy goes to the data
    // folder, with the text still being typed in a cell, and the next open finds it there.
    const fs::path gone = m_dir / "gone" / "survey.tcd";
    frame.SetDocumentPath(gone);
    data.SetModifiedFlag(FALSE);
    driver.PushKey(VK_RIGHT);
    driver.PushText("打鍵中");
    app.Run();
    ASSERT_NE(frame.Grid().GetEditor(), nullptr) << "the cell editor is still open";
    EXPECT_TRUE(frame.WriteRecovery());
    EXPECT_EQ(FirstName(CoordinateFrame::FallbackRecoveryPath(gone)), "打鍵中");
    driver.AnswerMessageBox(IDNO);
    EXPECT_FALSE(frame.OfferRecovery());
    EXPECT_FALSE(fs::exists(CoordinateFrame::FallbackRecoveryPath(gone))) << "offered, declined, removed";

    Rename(data, "再変更");
    driver.AnswerMessageBox(IDYES);
    PressCtrl('Q');
    EXPECT_TRUE(frame.IsWindow()) << "quitting asked to save, the save failed, so the editor stays";
}

TEST_F(CoordinateEditorTest, ASecondEditorIsToldTheDocumentIsOpenAndNoSaveWritesOverAnothersUnasked)
{
    const fs::path document = m_dir / "survey.tcd";
    frame.SetDocumentPath(document);
    ASSERT_TRUE(frame.Save());
    {
        CoordinateManager otherManager{2000};
        TavData otherData;
        CoordinateFrame other{otherManager, otherData};
        ASSERT_TRUE(other.Open(driver.ScreenSize()));
        ASSERT_TRUE(other.OpenFile(document));
        EXPECT_NE(LastMessage().find("ほかの座標一覧でも開かれています"), std::string::npos) << LastMessage();
        Rename(otherData, "他方");
        ASSERT_TRUE(other.Save());
        other.DestroyWindow();
    }
    driver.ClearMessageBoxes();
    Rename(data, "こちら");
    EXPECT_FALSE(frame.Save()) << "asked, and the default answer is No";
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes().back().style, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    EXPECT_EQ(FirstName(document), "他方");
    driver.AnswerMessageBox(IDYES);
    ASSERT_TRUE(frame.Save());
    EXPECT_EQ(FirstName(document), "こちら");
    ASSERT_TRUE(frame.Save());
    EXPECT_EQ(driver.MessageBoxes().size(), 2u) << "our own save is no change by another";

    SCOPED_TRACE("Save As over another file asks the same way");
    const fs::path other = m_dir / "other.tcd";
    ASSERT_FALSE(WriteFileAtomically(other, "someone's"));
    AnswerName(other);
    EXPECT_FALSE(frame.SaveAs());
    EXPECT_EQ(driver.MessageBoxes().back().style, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    EXPECT_EQ(fs::file_size(other), 9u);

    SCOPED_TRACE("leaving the document gives its lock back; a lock of a process that has ended is nobody's");
    ASSERT_TRUE(frame.NewDocument());
    EXPECT_FALSE(fs::exists(DocumentFile::LockPath(document)));
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    ASSERT_FALSE(WriteFileAtomically(DocumentFile::LockPath(document),
                                     "tavcell-coordinates-lock\nsomeone\n" + std::string(host) + "\n" + std::to_string(ended) + " 1\n"));
    driver.ClearMessageBoxes();
    ASSERT_TRUE(frame.OpenFile(document));
    EXPECT_TRUE(driver.MessageBoxes().empty()) << LastMessage();
}

TEST_F(CoordinateEditorTest, NewStartsAnEmptyListOpenSaysInJapaneseThatANameIsMissingAndNotesGoAtTheNextKey)
{
    frame.SetDocumentPath(m_dir / "survey.tcd");
    driver.PushKey('S', false, true);
    PressCtrl('L'); // a key the frame carries out itself
    EXPECT_EQ(frame.GetIndicatorText().find("保存しました"), std::string::npos) << frame.GetIndicatorText();
    Rename(data, "変更");
    driver.AnswerMessageBox(IDNO);
    PressCtrl('N');
    EXPECT_EQ(LastMessage(), "変更を保存しますか？");
    EXPECT_LT(data.GetLastInputRecordNo(), 0) << "no points";
    EXPECT_FALSE(data.IsModified());
    EXPECT_TRUE(frame.GetDocumentPath().empty());

    AnswerName(m_dir / "none.tcd");
    PressCtrl('O');
    EXPECT_EQ(LastMessage(), "ファイルを開けませんでした。\n" + (m_dir / "none.tcd").string() + ": ファイルまたはフォルダがありません。");
}

TEST_F(CoordinateEditorTest, PrintingToAFileThatIsThereAsksFirst)
{
    const fs::path pdf = m_dir / "survey.pdf";
    ASSERT_FALSE(WriteFileAtomically(pdf, "someone's"));
    for (const int answer : {IDNO, IDYES}) {
        driver.AnswerMessageBox(answer);
        driver.OnNextDialog([&](DialogOperator& person) {
            person.Pick(PrintDialog::kPrinterId, 0);
            person.SetText(PrintDialog::kFileId, pdf.string());
            person.Return();
            if (person.IsOpen())
                person.Escape(); // No keeps the dialog open for another name
        });
        driver.ClearMessageBoxes();
        frame.Grid().SendMessage(WM_COMMAND, NifCommand::CellPrint);
        ASSERT_FALSE(driver.MessageBoxes().empty());
        EXPECT_NE(driver.MessageBoxes().front().text.find("既にあります"), std::string::npos) << driver.MessageBoxes().front().text;
        EXPECT_EQ(fs::file_size(pdf) > 1000, answer == IDYES);
    }
}
