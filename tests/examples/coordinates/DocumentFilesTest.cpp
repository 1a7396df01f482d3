// The editor's file commands as a person meets their failures: saves that cannot be written,
// a second editor on the same document, files that are already there, names that are not.
#include "examples/coordinates/CoordinateFrame.h"

#include "components/support/KesTemplates.h"
#include "components/support/NifCommonMenu.h"
#include "examples/coordinates/CoordinateResources.h"
#include "examples/coordinates/SampleSurvey.h"
#include "platform/io/Files.h"
#include "platform/print/PrintDialog.h"
#include "platform/registry/MemoryRegistryStore.h"
#include "platform/registry/Registry.h"
#include "platform/ui/HeadlessDriver.h"
#include "tests/examples/coordinates/StoredPoint.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace plat;
using namespace coordinates;
namespace fs = std::filesystem;

namespace {

class DocumentFilesTest : public ::testing::Test {
protected:
    DocumentFilesTest()
    {
        RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
        m_dir = fs::temp_directory_path() / ("tavcell-files-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
        const char* data = std::getenv("XDG_DATA_HOME");
        m_oldData = data ? std::optional<std::string>(data) : std::nullopt;
        ::setenv("XDG_DATA_HOME", (m_dir / "data").c_str(), 1);
        driver.SetScreenSize(SIZE{100 * 8, 20 * 16});
        frame.Open(driver.ScreenSize());
        app.SetMainWnd(&frame);
        FillSampleSurvey(data_);
        data_.SetModifiedFlag(FALSE);
    }
    ~DocumentFilesTest() override
    {
        if (frame.IsWindow())
            frame.DestroyWindow();
        RegSetStore(HKEY_CURRENT_USER, nullptr);
        if (m_oldData)
            ::setenv("XDG_DATA_HOME", m_oldData->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        std::error_code error;
        fs::remove_all(m_dir, error);
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
    static std::string FirstName(const fs::path& document)
    {
        TavData loaded;
        coordinates_test::LoadDocument(document, loaded);
        std::string name;
        loaded.Get(1L, 0, name); // the point name, read without the program's manager
        return name;
    }
    void Rename(TavData& table, const std::string& name) { table.Set(static_cast<unsigned>(kPointName), 0, name); }

    HeadlessDriver driver;
    WinApp app{"座標一覧", "Application", &driver};
    CoordinateManager manager{2000};
    TavData data_;
    CoordinateFrame frame{manager, data_};
    fs::path m_dir;
    std::optional<std::string> m_oldData;
};

TEST_F(DocumentFilesTest, AFailedSaveKeepsTheNameAsItWasAndTheRecoveryCopyGoesWhereItCanBeWritten)
{
    Rename(data_, "無題の変更");
    AnswerName(m_dir / "missing" / "survey.tcd");
    EXPECT_FALSE(frame.Save());
    EXPECT_NE(LastMessage().find("保存できませんでした。\n" + (m_dir / "missing" / "survey.tcd").string() +
                                 ": ファイルまたはフォルダがありません。"),
              std::string::npos)
        << LastMessage();
    EXPECT_TRUE(frame.GetDocumentPath().empty()) << "an unusable name is not the document's";
    EXPECT_TRUE(frame.WriteRecovery());
    EXPECT_EQ(FirstName(CoordinateFrame::FallbackRecoveryPath({})), "無題の変更") << "a kill keeps the work";
    bool asked = false;
    driver.OnNextDialog([&](DialogOperator& person) {
        asked = true;
        person.Escape();
    });
    EXPECT_FALSE(frame.Save());
    EXPECT_TRUE(asked) << "the next save asks for a name again";

    // A FIFO or a device in the document's place is refused, and stays what it was.
    const fs::path fifo = m_dir / "fifo.tcd";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/null", m_dir / "null.tcd");
    for (const fs::path& target : {fifo, m_dir / "null.tcd"}) {
        frame.SetDocumentPath(target);
        EXPECT_FALSE(frame.Save());
        EXPECT_NE(LastMessage().find("通常のファイルではありません"), std::string::npos) << LastMessage();
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    // Beside a document whose folder is gone nothing can be written: the copy goes to the user's
    // data folder, with the text still being typed in a cell, and the next open finds it there.
    const fs::path gone = m_dir / "gone" / "survey.tcd";
    frame.SetDocumentPath(gone);
    data_.SetModifiedFlag(FALSE);
    driver.PushKey(VK_RIGHT);
    driver.PushText("打鍵中");
    app.Run();
    ASSERT_NE(frame.Grid().GetEditor(), nullptr) << "the cell editor is still open";
    EXPECT_TRUE(frame.WriteRecovery());
    const fs::path fallback = CoordinateFrame::FallbackRecoveryPath(gone);
    EXPECT_EQ(fallback.parent_path(), m_dir / "data" / "tavcell");
    EXPECT_EQ(FirstName(fallback), "打鍵中");
    driver.AnswerMessageBox(IDNO);
    EXPECT_FALSE(frame.OfferRecovery());
    EXPECT_NE(LastMessage().find("回復用コピーを読み込みますか"), std::string::npos) << LastMessage();
    EXPECT_FALSE(fs::exists(fallback));
}

TEST_F(DocumentFilesTest, ASecondEditorIsToldTheDocumentIsOpenAndNoSaveWritesOverAnothersUnasked)
{
    const fs::path document = m_dir / "survey.tcd";
    frame.SetDocumentPath(document);
    ASSERT_TRUE(frame.Save());
    EXPECT_TRUE(fs::exists(DocumentFile::LockPath(document)));
    {
        CoordinateManager otherManager{2000};
        TavData otherData;
        CoordinateFrame other{otherManager, otherData};
        ASSERT_TRUE(other.Open(driver.ScreenSize()));
        ASSERT_TRUE(other.OpenFile(document));
        EXPECT_NE(LastMessage().find("ほかの座標一覧でも開かれています"), std::string::npos) << LastMessage();
        Rename(otherData, "他方");
        driver.ClearMessageBoxes();
        ASSERT_TRUE(other.Save());
        EXPECT_TRUE(driver.MessageBoxes().empty()) << "unchanged since it was opened there";
        other.DestroyWindow();
    }
    EXPECT_TRUE(fs::exists(DocumentFile::LockPath(document))) << "the other editor removes no lock of ours";

    Rename(data_, "こちら");
    EXPECT_FALSE(frame.Save()) << "asked, and the default answer is No";
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_NE(LastMessage().find("ほかのプログラムで変更されています"), std::string::npos) << LastMessage();
    EXPECT_EQ(driver.MessageBoxes().back().style, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    EXPECT_EQ(FirstName(document), "他方");
    driver.AnswerMessageBox(IDYES);
    ASSERT_TRUE(frame.Save());
    EXPECT_EQ(FirstName(document), "こちら");
    driver.ClearMessageBoxes();
    ASSERT_TRUE(frame.Save());
    EXPECT_TRUE(driver.MessageBoxes().empty()) << "our own save is no change by another";

    // Save As over another file asks the same way.
    const fs::path other = m_dir / "other.tcd";
    ASSERT_FALSE(WriteFileAtomically(other, "someone's"));
    AnswerName(other);
    EXPECT_FALSE(frame.SaveAs());
    EXPECT_NE(LastMessage().find("既にあります"), std::string::npos) << LastMessage();
    EXPECT_EQ(driver.MessageBoxes().back().style, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    std::vector<std::uint8_t> bytes;
    ASSERT_FALSE(ReadWholeFile(other, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "someone's");
    EXPECT_EQ(frame.GetDocumentPath(), document);

    // Leaving the document gives its lock back; a lock left by a process that has ended is
    // nobody's.
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

TEST_F(DocumentFilesTest, NewStartsAnEmptyListAndOpenSaysInJapaneseThatANameIsMissing)
{
    const fs::path document = m_dir / "survey.tcd";
    frame.SetDocumentPath(document);
    driver.PushKey('S', false, true);
    app.Run();
    EXPECT_NE(frame.GetIndicatorText().find("保存しました"), std::string::npos) << frame.GetIndicatorText();
    driver.PushKey('L', false, true); // a key the frame carries out itself
    app.Run();
    EXPECT_EQ(frame.GetIndicatorText().find("保存しました"), std::string::npos) << "gone at the next key";

    Rename(data_, "変更");
    driver.AnswerMessageBox(IDNO);
    driver.PushKey('N', false, true);
    app.Run();
    EXPECT_EQ(LastMessage(), "変更を保存しますか？");
    EXPECT_LT(data_.GetLastInputRecordNo(), 0) << "no points";
    EXPECT_FALSE(data_.IsModified());
    EXPECT_TRUE(frame.GetDocumentPath().empty());
    EXPECT_EQ(FirstName(document), "T1") << "No left the document as it was saved";

    const fs::path missing = m_dir / "none.tcd";
    AnswerName(missing);
    driver.PushKey('O', false, true);
    app.Run();
    EXPECT_EQ(LastMessage(), "ファイルを開けませんでした。\n" + missing.string() + ": ファイルまたはフォルダがありません。");
    EXPECT_TRUE(frame.GetDocumentPath().empty());
}

TEST_F(DocumentFilesTest, PrintingToAFileThatIsThereAsksFirst)
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
        frame.Grid().SendMessage(WM_COMMAND, NifCommand::CellPrint);
        EXPECT_NE(LastMessage().find("既にあります"), std::string::npos) << LastMessage();
        EXPECT_EQ(fs::file_size(pdf) > 1000, answer == IDYES);
    }
}

} // namespace
