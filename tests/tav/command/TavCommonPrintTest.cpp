// Printing a grid into a PDF file through the print dialog, read back with poppler's tools.
#include "components/support/NifCommonMenu.h"
#include "platform/print/PrintDialog.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/ui/App.h"
#include "platform/ui/HeadlessDriver.h"
#include "tav/window/TavCellCtrl.h"
#include "tests/tav/manager/CoordinateHost.h"
#include "tests/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

using namespace plat;
using namespace tavtest;
namespace fs = std::filesystem;

namespace {


class PrintTest : public ::testing::Test {
protected:
    PrintTest()
    {
        RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
        host.Open();
        app.SetMainWnd(&host);
        manager.Associate(&host.Grid(), &data);
        for (long record = 0; record < 150; ++record) {
            EXPECT_TRUE(data.Set(static_cast<unsigned>(kPointName), record, "点" + std::to_string(record + 1)));
            EXPECT_TRUE(data.Set(static_cast<unsigned>(kX), record, 1000.0 + record));
        }
    }
    ~PrintTest() override
    {
        host.DestroyWindow();
        RegSetStore(HKEY_CURRENT_USER, nullptr);
    }
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
