// Printing a grid into a PDF file through the print dialog, read back with poppler's tools.
#include "components/support/NifCommonMenu.h"
#include "platform/print/PrintDialog.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "platform/ui/Renderer.h"
#include "tav/window/TavCellCtrl.h"
#include "tests/tav/manager/CoordinateHost.h"
#include "tests/TemporaryFolder.h"
#include "tests/platform/registry/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace plat;
using namespace tavtest;
namespace fs = std::filesystem;

namespace {

// What a command prints on its standard output.
std::string Output(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        out.append(buffer, n);
    return out;
}

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

class PrintTest : public ::testing::Test {
protected:
    tavtest::MemoryRegistry m_registry;
    PrintTest()
    {
        host.Show(data);
        app.SetMainWnd(&host);
        for (long record = 0; record < 150; ++record) {
            EXPECT_TRUE(data.Set(static_cast<unsigned>(kPointName), record, "点" + std::to_string(record + 1)));
            EXPECT_TRUE(data.Set(static_cast<unsigned>(kX), record, 1000.0 + record));
        }
    }
    ~PrintTest() override { host.DestroyWindow(); }
    // Prints through the dialog into the file, or cancels when the file is empty.
    void Print(const fs::path& file)
    {
        driver.OnNextDialog([&](DialogOperator& person) {
            if (file.empty()) {
                person.Escape();
                return;
            }
            person.Pick(PrintDialog::kPrinterId, 0);
            person.SetText(PrintDialog::kFileId, file.string());
            person.Return();
        });
        host.Grid().SendMessage(WM_COMMAND, NifCommand::CellPrint);
    }
    [[nodiscard]] std::size_t Files() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    HeadlessDriver driver;
    WinApp app{"PrintTest", "Test", &driver};
    CoordinateManager manager{200};
    TavData data;
    CoordinateHost host{manager};
    tavtest::TemporaryFolder m_folder{"tavcell-print"};
    const fs::path m_dir = m_folder.Path();
};

TEST_F(PrintTest, ThePrintedPageShowsEachRowAsTheTerminalDoes)
{
    Canvas canvas(80, 25);
    Renderer renderer;
    renderer.Paint(canvas);
    const fs::path pdf = m_dir / "画面.pdf";
    Print(pdf);
    ASSERT_TRUE(fs::exists(pdf));
    std::vector<std::vector<std::string>> printed;
    std::istringstream page(Output("pdftotext -layout -f 1 -l 1 '" + pdf.string() + "' -"));
    for (std::string line; std::getline(page, line);)
        printed.push_back(Words(line));
    // Paper is wider than the screen: a printed row goes on where the screen's ends, and the
    // screen's last column may be cut at its edge.
    auto sameRow = [](const std::vector<std::string>& shown, const std::vector<std::string>& row) {
        if (row.size() < shown.size())
            return false;
        for (std::size_t i = 0; i + 1 < shown.size(); ++i)
            if (row[i] != shown[i])
                return false;
        return row[shown.size() - 1].rfind(shown.back(), 0) == 0;
    };
    int compared = 0;
    for (int line = 0; line < canvas.Lines(); ++line) {
        const std::vector<std::string> shown = Words(canvas.LineText(line));
        if (shown.empty())
            continue;
        ++compared;
        EXPECT_TRUE(std::any_of(printed.begin(), printed.end(), [&](const auto& row) { return sameRow(shown, row); }))
            << "line " << line << " on the screen: " << canvas.LineText(line);
    }
    EXPECT_EQ(compared, 25) << "the headings and 24 rows";
}

TEST_F(PrintTest, AWideTableIsShrunkThenTurnedAndOnlyThenSplitAcrossPages)
{
    struct Case {
        int tableWidth;
        const char* pageSize; // the first page's in points, as pdfinfo gives it
        bool split;
    };
    // A4 is 727 units wide inside its margins upright and 1,069 turned; the text may shrink
    // to about 0.7 of the screen's.
    const Case cases[] = {{900, "595.276 x 841.89", false}, {1400, "841.89 x 595.276", false}, {2600, "841.89 x 595.276", true}};
    MoxCellCtrl& grid = host.Grid();
    long others = 0;
    for (long column = 1; column < grid.GetColumnCount(); ++column)
        others += grid.GetPaneWidth(column);
    const auto fixed = static_cast<int>(grid.SendMessage(MOXM_GETFIXEDCOLWIDTH));
    for (const Case& wide : cases) {
        SCOPED_TRACE(wide.tableWidth);
        grid.SetPaneWidth(static_cast<int>(wide.tableWidth - others - fixed), 0);
        const fs::path pdf = m_dir / (std::to_string(wide.tableWidth) + ".pdf");
        if (wide.split)
            driver.AnswerMessageBox("ページに分けて", IDOK);
        Print(pdf);
        ASSERT_TRUE(fs::exists(pdf));
        EXPECT_NE(Output("pdfinfo -f 1 -l 1 '" + pdf.string() + "'").find(wide.pageSize), std::string::npos);
        const std::string first = Output("pdftotext -layout -f 1 -l 1 '" + pdf.string() + "' -");
        EXPECT_EQ(first.find("コード") != std::string::npos, !wide.split) << "the last column beside the first\n" << first;
    }
    EXPECT_EQ(driver.MessageBoxes().size(), 1u) << "only the split is told";
}

TEST_F(PrintTest, ACancelledOrFailedPrintLeavesNothingUnderTheName)
{
    Print({});
    EXPECT_EQ(Files(), 0u);
    EXPECT_TRUE(driver.MessageBoxes().empty());

    const fs::path missing = m_dir / "無い" / "座標.pdf";
    Print(missing);
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_NE(driver.MessageBoxes()[0].text.find("印刷できませんでした。\ncannot write"), std::string::npos) << driver.MessageBoxes()[0].text;
    EXPECT_EQ(Files(), 0u);
}

} // namespace
