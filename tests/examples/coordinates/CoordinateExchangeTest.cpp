// SIMA and CSV files in and out of the coordinate list: files as other programs write them,
// refusals at their line, round trips to the same cell bytes, the import as one undo step
// through the menu, and the command line for scripts.
#include "examples/coordinates/CoordinateExchange.h"
#include "examples/coordinates/CoordinateFrame.h"
#include "examples/coordinates/CoordinateResources.h"
#include "examples/coordinates/SampleSurvey.h"
#include "examples/coordinates/SimaFile.h"
#include "platform/io/Files.h"
#include "platform/text/CodePage.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/data/TavAttr.h"
#include "tests/FuzzSeeds.h"
#include "tests/examples/coordinates/StoredPoint.h"
#include "tests/platform/registry/MemoryRegistry.h"
#include "tests/TemporaryFolder.h"
#include "tests/tav/data/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace plat;
using namespace coordinates;
namespace fs = std::filesystem;

namespace {

std::string Narrow(const std::string& utf8) { return Utf8ToNarrow(utf8).text; }

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A table bound without a window, with a layout of its own so that the store is not asked.
struct BoundTable {
    explicit BoundTable(long rows) : manager(rows)
    {
        data.TemplateName() = "標準";
        data.Template() = {kPointNo, kPointName, kX, kY, kZ, kCode, kLineType, kRadius, kFlag};
        manager.Associate(nullptr, &data);
    }
    CoordinateManager manager;
    TavData data;
};

// The bytes of every cell of the records that hold data, blank records left out: what a
// round trip must give back.
std::vector<std::string> CellImage(const TavData& data, const std::vector<unsigned>& items)
{
    std::vector<std::string> image;
    for (long record = 0; record <= data.GetLastInputRecordNo(); ++record) {
        std::string row;
        bool holdsData = false;
        for (const unsigned id : items) {
            std::string cell(data.GetItemSize(data.Manager()->IDtoItemNo(id)), '\0');
            const bool blank = data.QueryIsBlank(id, record);
            holdsData = holdsData || !blank;
            if (!blank) {
                EXPECT_TRUE(data.Get(id, record, cell.data(), static_cast<unsigned>(cell.size())));
            }
            row += (blank ? "-" : "+") + cell;
        }
        if (holdsData)
            image.push_back(row);
    }
    return image;
}

TEST(CoordinateExchangeTest, ASimaFileOfAnotherProgramReadsWithMissingHeightsAndSkippedKindsCounted)
{
    // Spaces after commas, a height left out, a Japanese title, no comma at one line's end,
    // LF alone at another, and line data after the coordinate block.
    const std::string file = Narrow("Z00,現場 北区三丁目,\r\nZ01, 0, 0,\r\nA00,\r\n"
                                    "A01, 1, T1, -36336.043, -8234.742, 23.351,\r\n"
                                    "A01, 2, T2, -36363.594, -8152.471, ,\n"
                                    "A01,3,境界１,-36424.47,-8081.297\r\nA99,\r\n"
                                    "D00,1,道路,1,\r\nD01,1,T1,\r\nD01,2,T2,\r\nD99,\r\n");
    tavtest::WriteFuzzSeed("coordinate_file", "other-program.sim", file);
    const SimaReadResult read = ReadSima(file);
    ASSERT_TRUE(read.ok) << read.errorLine << ": " << read.error;
    EXPECT_EQ(read.title, "現場 北区三丁目");
    ASSERT_EQ(read.points.size(), 3u);
    EXPECT_EQ(read.points[0].name, "T1");
    EXPECT_EQ(read.points[0].z, 23.351);
    EXPECT_FALSE(read.points[1].z.has_value()) << "a missing height stays empty, not 0";
    EXPECT_EQ(read.points[2].name, "境界１");
    EXPECT_EQ(read.points[2].x, -36424.47);
    EXPECT_FALSE(read.points[2].z.has_value());
    EXPECT_EQ(read.skipped, (std::vector<std::pair<std::string, std::size_t>>{{"D00", 1}, {"D01", 2}, {"D99", 1}}));
    EXPECT_TRUE(LooksLikeSima(file));
}

TEST(CoordinateExchangeTest, AnInvalidSimaLineStopsTheImportAtItsLineAndChangesNothing)
{
    const std::string head = "Z00,x,\r\nA00,\r\nA01,1,P1,1,2,3,\r\n";
    const std::pair<std::string, std::size_t> cases[] = {
        {head + "A01,2,P2,abc,2,3,\r\n", 4},          // a number that does not parse
        {head + "A01,2,P2,1,2,3x,\r\n", 4},           // nor one with something after it
        {head + "A01,2.5,P2,1,2,3,\r\n", 4},          // a point number is whole
        {head + "A01,2,P2,123456789,2,3,\r\n", 4},    // nine figures before the point
        {head + "A01,2,ABCDEFGHIJKLM,1,2,3,\r\n", 4}, // 13 bytes for a name of 12
        {head + "\r\nA01,2,P\x81\x7f,1,2,3,\r\n", 5}, // not a character of the code page
        {"Z00,\x82,\r\n", 1},
    };
    const tavtest::TemporaryFolder folder{"tavcell-exchange"};
    for (const auto& [text, line] : cases) {
        const SimaReadResult read = ReadSima(text);
        EXPECT_FALSE(read.ok) << text;
        EXPECT_EQ(read.errorLine, line) << text << "\n" << read.error;
        EXPECT_TRUE(read.points.empty());
    }
    BoundTable table(10);
    FillSampleSurvey(table.data, 5);
    const std::vector<std::string> before = CellImage(table.data, {kPointNo, kPointName, kX, kY, kZ});
    WriteBytes(folder / "bad.sim", cases[0].first);
    const ExchangeReport report = ImportCoordinates(folder / "bad.sim", table.data, ImportMode::Replace);
    EXPECT_FALSE(report.ok());
    EXPECT_NE(report.message.find("bad.sim の 4 行目"), std::string::npos) << report.message;
    EXPECT_EQ(CellImage(table.data, {kPointNo, kPointName, kX, kY, kZ}), before);
}

TEST(CoordinateExchangeTest, WhatIsExportedImportsBackToTheSameCellBytes)
{
    const tavtest::TemporaryFolder folder{"tavcell-exchange"};
    BoundTable source(60);
    FillSampleSurvey(source.data, 40);
    // Values a formatter could round or spell so that they read back otherwise.
    EXPECT_TRUE(source.data.Set(static_cast<unsigned>(kPointName), 41, std::string("測点Ａ,\"1\"")));
    EXPECT_TRUE(source.data.Set(static_cast<unsigned>(kX), 41, 99999999.999));
    EXPECT_TRUE(source.data.Set(static_cast<unsigned>(kY), 41, -0.0));
    EXPECT_TRUE(source.data.Set(static_cast<unsigned>(kX), 43, 0.1 + 0.2));
    EXPECT_TRUE(source.data.Set(static_cast<unsigned>(kZ), 43, 1e-7));
    EXPECT_TRUE(source.data.Set(static_cast<unsigned>(kPointNo), 44, 10000000.0));
    const std::vector<unsigned> simaItems{kPointNo, kPointName, kX, kY, kZ};
    const std::vector<unsigned> allItems{kPointNo, kPointName, kX, kY, kZ, kCode, kLineType, kRadius, kFlag};

    // A SIMA file has no quoting: the name with a comma is refused, and nothing is written.
    EXPECT_FALSE(ExportCoordinates(source.data, folder / "survey.sim", "北区", CsvEncoding::NarrowCodePage).ok());
    EXPECT_FALSE(fs::exists(folder / "survey.sim"));
    EXPECT_TRUE(source.data.Set(static_cast<unsigned>(kPointName), 41, std::string("測点Ａ")));

    for (const char* name : {"survey.sim", "survey.csv", "survey-utf8.csv"}) {
        const fs::path file = folder / name;
        const bool sima = KindForWriting(file) == ExchangeKind::Sima;
        const CsvEncoding encoding = std::string(name).find("utf8") != std::string::npos ? CsvEncoding::Utf8WithMark : CsvEncoding::NarrowCodePage;
        ASSERT_TRUE(ExportCoordinates(source.data, file, "北区", encoding).ok()) << name;
        const std::string bytes = ReadBytes(file);
        BoundTable target(60);
        const ExchangeReport report = ImportCoordinates(file, target.data, ImportMode::Replace);
        ASSERT_TRUE(report.ok()) << name << ": " << report.message;
        EXPECT_EQ(CellImage(target.data, sima ? simaItems : allItems), CellImage(source.data, sima ? simaItems : allItems)) << name;
        const fs::path again = folder / (std::string("again-") + name);
        ASSERT_TRUE(ExportCoordinates(target.data, again, "北区", encoding).ok());
        EXPECT_EQ(ReadBytes(again), bytes) << "read and written again, the file is the same";
        if (sima) {
            EXPECT_EQ(bytes.rfind(Narrow("Z00,北区,\r\nZ01,\r\nA00,\r\nA01,1,T1,"), 0), 0u) << bytes.substr(0, 40);
            EXPECT_TRUE(bytes.ends_with("A99,\r\n"));
            EXPECT_NE(bytes.find(Narrow("A01,,測点Ａ,99999999.999,-0,,\r\n")), std::string::npos);
        } else {
            EXPECT_EQ(bytes.starts_with("\xEF\xBB\xBF"), encoding == CsvEncoding::Utf8WithMark) << name;
        }
    }
}

TEST(CoordinateExchangeTest, CsvColumnsAreFoundByHeadingAndACellAnItemDoesNotTakeIsRefusedAtItsRowAndColumn)
{
    const std::string file = "\xEF\xBB\xBF" "X座標, 点名 ,確定,半径,コード\r\n"
                             "-1.5,\"A,\"\"B\"\"\",確定,120.5 右 小,道路\r\n"
                             ",,,,\r\n"
                             "2,Q,未確定,,\r\n";
    tavtest::WriteFuzzSeed("coordinate_file", "spreadsheet.csv", file);
    const CsvReadResult read = ReadCsv(file);
    ASSERT_TRUE(read.ok) << read.errorRow << ":" << read.errorColumn << " " << read.error;
    ASSERT_EQ(read.points.size(), 2u) << "the empty row is skipped";
    EXPECT_EQ(read.points[0].x, -1.5);
    EXPECT_EQ(read.points[0].name, "A,\"B\"");
    EXPECT_EQ(read.points[0].flag, 1);
    ASSERT_TRUE(read.points[0].radius.has_value());
    EXPECT_EQ(static_cast<double>(read.points[0].radius->GetR()), 120.5);
    EXPECT_TRUE(read.points[0].radius->GetRight() && read.points[0].radius->GetSmall());
    EXPECT_EQ(read.points[0].code, 3);
    EXPECT_FALSE(read.points[1].radius.has_value());

    struct Case {
        std::string text;
        std::size_t row;
        std::size_t column;
    };
    const Case cases[] = {
        {Narrow("点名,コード\r\nA,道路\r\nB,道\r\n"), 3, 2},
        {Narrow("点名,備考\r\n"), 1, 2},
        {Narrow("点名,点名\r\n"), 1, 2},
        {Narrow("X座標\r\n\"1,2\"\r\n"), 2, 1},
        {Narrow("半径\r\n-5 右\r\n"), 2, 1},
        {Narrow("点名\r\n\"abc\r\n"), 2, 0},
        {Narrow("点名\r\n\"a\" b\r\n"), 2, 0},
        {Narrow("点名\r\nA,B\r\n"), 2, 2},
    };
    for (const Case& c : cases) {
        const CsvReadResult refused = ReadCsv(c.text);
        EXPECT_FALSE(refused.ok) << c.text;
        EXPECT_EQ(refused.errorRow, c.row) << c.text << "\n" << refused.error;
        EXPECT_EQ(refused.errorColumn, c.column) << c.text << "\n" << refused.error;
        EXPECT_TRUE(refused.points.empty());
    }
}

// A host that refuses any cell of one record and counts what it is told.
class HostTable : public TavData {
public:
    plat::BOOL OnDataChanging(unsigned /*id*/, long record, const void* /*newBytes*/) override { return record == refused ? FALSE : TRUE; }
    void OnDataChanged(unsigned /*id*/, long /*record*/) override { ++told; }
    using TavData::OnDataChanged;
    using TavData::OnDataChanging;

    long refused = -1;
    int told = 0;
};

class ExchangeMenuTest : public ::testing::Test {
protected:
    tavtest::MemoryRegistry m_registry;
    ExchangeMenuTest()
    {
        driver.SetScreenSize(SIZE{100 * 8, 20 * 16});
        frame.Open(driver.ScreenSize());
        app.SetMainWnd(&frame);
        FillSampleSurvey(data);
        MarkSampleStates(manager, data); // T6's height disabled
        data.SetModifiedFlag(FALSE);
    }
    ~ExchangeMenuTest() override
    {
        if (frame.IsWindow())
            frame.DestroyWindow();
    }
    // ファイル > 読み込み with the file named, then Yes (replace) or No (append).
    void Import(const fs::path& file, int replace)
    {
        driver.OnNextDialog([file](DialogOperator& person) {
            person.Type(file.string());
            person.Return();
        });
        driver.AnswerMessageBox(replace);
        driver.AnswerMessageBox(IDOK);
        frame.SendMessage(WM_COMMAND, CoordinateFrame::ID_FILE_IMPORT);
    }

    const tavtest::TemporaryFolder folder{"tavcell-exchange"};
    HeadlessDriver driver;
    WinApp app{"座標一覧", "Application", &driver};
    CoordinateManager manager{2000};
    HostTable data;
    CoordinateFrame frame{manager, data};
};

TEST_F(ExchangeMenuTest, AnImportAppendsOrReplacesAsOneUndoStepAndTooManyPointsChangeNothing)
{
    WriteBytes(folder / "three.sim", "A00,\r\nA01,1,N1,1,2,3,\r\nA01,2,N2,4,5,\r\nA01,3,N3,7,8,9,\r\nA99,\r\nB01,x,\r\n");
    Import(folder / "three.sim", IDNO);
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[1].text, "3 点を読み込みました。\n読み飛ばした行: B01 1 行");
    EXPECT_EQ(data.GetLastInputRecordNo(), 322);
    EXPECT_TRUE(data.IsModified());
    coordinates_test::ExpectStoredPoint(data, 320, "N1", 1, 2, 3);
    EXPECT_TRUE(data.QueryIsBlank(static_cast<unsigned>(kZ), 321)) << "the missing height";
    EXPECT_EQ(data.History().UndoName(), kImportStepName);
    ASSERT_TRUE(data.History().Undo());
    EXPECT_EQ(data.GetLastInputRecordNo(), 319) << "one undo takes the whole import back";
    ASSERT_TRUE(data.History().Redo());
    EXPECT_EQ(data.GetLastInputRecordNo(), 322);

    Import(folder / "three.sim", IDYES);
    EXPECT_EQ(data.GetLastInputRecordNo(), 2) << "replaced, the disabled cell too";
    coordinates_test::ExpectStoredPoint(data, 0, "N1", 1, 2, 3);
    EXPECT_FALSE(manager.AttrDisable().Get(static_cast<unsigned>(kZ), 5)) << "the mark went with its line";
    ASSERT_TRUE(data.History().Undo());
    EXPECT_EQ(data.GetLastInputRecordNo(), 322);
    EXPECT_TRUE(manager.AttrDisable().Get(static_cast<unsigned>(kZ), 5));
    EXPECT_EQ(CellValue<std::string>(data, static_cast<unsigned>(kPointName), 0), "T1");

    std::string many = "A00,\r\n";
    for (int i = 1; i <= 1700; ++i)
        many += "A01," + std::to_string(i) + ",P,1,2,3,\r\n";
    WriteBytes(folder / "many.sim", many);
    driver.ClearMessageBoxes();
    const std::size_t steps = data.History().GetStepCount();
    Import(folder / "many.sim", IDNO);
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[1].text, "最大座標数を超えました。処理を終了します。");
    EXPECT_EQ(data.GetLastInputRecordNo(), 322) << "nothing changed";
    EXPECT_EQ(data.History().GetStepCount(), steps);
}

TEST_F(ExchangeMenuTest, ACellTheHostRefusesRefusesTheWholeImportAndTheHostIsToldOfEveryCellOfOneThatLands)
{
    WriteBytes(folder / "three.sim", "A00,\r\nA01,1,N1,1,2,3,\r\nA01,2,N2,4,5,\r\nA01,3,N3,7,8,9,\r\nA99,\r\n");
    const std::size_t steps = data.History().GetStepCount();
    data.told = 0;
    data.refused = 322;
    Import(folder / "three.sim", IDNO);
    EXPECT_EQ(data.GetLastInputRecordNo(), 319) << "the points before the refused one went too";
    EXPECT_TRUE(data.QueryIsBlank(static_cast<unsigned>(kPointName), 320));
    EXPECT_EQ(data.History().GetStepCount(), steps);
    EXPECT_EQ(data.told, 0) << "nothing landed, so nothing is told";
    EXPECT_FALSE(data.IsModified()) << "nothing changed, so there is nothing to save";

    data.refused = 0;
    Import(folder / "three.sim", IDYES);
    EXPECT_EQ(data.GetLastInputRecordNo(), 319) << "the replaced lines came back";
    EXPECT_TRUE(manager.AttrDisable().Get(static_cast<unsigned>(kZ), 5));
    EXPECT_FALSE(data.IsModified());

    data.refused = -1;
    Import(folder / "three.sim", IDNO);
    EXPECT_EQ(data.told, 14) << "each cell written, the missing height not";
    coordinates_test::ExpectStoredPoint(data, 322, "N3", 7, 8, 9);
}

TEST(CoordinateExchangeTest, TheCommandLineMakesADocumentFromAFileAndWritesItBack)
{
    const tavtest::TemporaryFolder folder{"tavcell-exchange"};
    std::vector<ExchangePoint> points(2);
    points[0] = {1.0, "基準１", -100.5, 200.25, 3.0, {}, {}, {}, {}};
    points[1] = {2.0, "P2", 5.0, 6.0, {}, {}, {}, {}, {}};
    WriteBytes(folder / "in.sim", WriteSima("doc", points).bytes);
    const auto run = [&](const std::string& arguments) {
        const std::string command = "cd " + (folder / "").string() + " && TAVCELL_REGISTRY=registry.sqlite3 " +
                                    std::string(TAVCELL_COORDINATES) + " " + arguments + " 2>err";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(run("--import in.sim doc.tcd"), 0) << ReadBytes(folder / "err");
    TavData data;
    coordinates_test::LoadDocument(folder / "doc.tcd", data);
    EXPECT_EQ(CellValue<std::string>(data, 1L, 0), "基準１");
    ASSERT_EQ(run("--export doc.tcd out.sim"), 0) << ReadBytes(folder / "err");
    EXPECT_EQ(ReadBytes(folder / "out.sim"), ReadBytes(folder / "in.sim"));

    EXPECT_NE(run("--import in.sim doc.tcd"), 0) << "an existing document is not written over";
    WriteBytes(folder / "bad.csv", Narrow("点名,X座標\r\nA,x\r\n"));
    EXPECT_NE(run("--import bad.csv other.tcd"), 0);
    EXPECT_NE(ReadBytes(folder / "err").find("2 行目 2 列目"), std::string::npos) << ReadBytes(folder / "err");
    EXPECT_FALSE(fs::exists(folder / "other.tcd"));

    EXPECT_EQ(run("--help >out"), 0);
    EXPECT_TRUE(ReadBytes(folder / "out").starts_with("usage: coordinates [--tty | --desktop] [--sample] [DOCUMENT]\n"));
    for (const char* mistake : {"--hlep", "-d doc.tcd", "doc.tcd other.tcd", "--import in.sim"}) {
        EXPECT_EQ(run(mistake), 2) << mistake;
        EXPECT_NE(ReadBytes(folder / "err").find("usage: coordinates"), std::string::npos) << mistake;
    }
}

} // namespace
