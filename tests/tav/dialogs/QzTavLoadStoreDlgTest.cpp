// The template transfer dialog as a person works it: templates exported to a folder and
// imported into an empty store, the overwrite question in both directions, and bad input
// (no path, no selection, a folder that is not there, an index naming a template without a
// file, a copy failing half way, a template the store would refuse, a destination that
// cannot take the files) that changes nothing it should not.
#include "tests/tav/dialogs/LayoutFixture.h"

#include "components/support/SolKey.h"
#include "platform/io/Files.h"
#include "tav/data/TavUserData.h"
#include "tav/dialogs/QzTavLoadStoreDlg.h"
#include "tav/dialogs/TavLayoutResources.h"
#include "tav/templates/RegKeyFile.h"
#include "tav/templates/TransferFolders.h"
#include "components/support/NifCommonMenu.h"

#include <fstream>

using namespace plat;
using namespace tavtest;
namespace fs = std::filesystem;

namespace {

class QzTavLoadStoreDlgTest : public LayoutFixture {
protected:
    QzTavLoadStoreDlgTest()
    {
        fs::create_directories(destination);
        // A second template with a layout and widths of its own.
        manager.CustomizeTemplate({kPointName, kX});
        data.Width()[0] = 123;
        EXPECT_TRUE(TavTemplate(&manager).SaveTemplate("短縮"));
    }

    int Transfer(HeadlessDriver::DialogHandler handler)
    {
        driver.OnNextDialog(std::move(handler));
        QzTavLoadStoreDlg dialog(&manager, &host);
        return dialog.DoModal();
    }
    // Types the destination and leaves the field, as a person does.
    static void TypePath(DialogOperator& person, const fs::path& path)
    {
        person.SetText(IDC_TAV_TRANSFER_PATH, path.string());
        person.Tab();
    }
    std::vector<std::string> IndexNames() const
    {
        std::vector<std::uint8_t> bytes;
        static_cast<void>(ReadWholeFile(folder / kIndexFileName, bytes));
        TransferIndex index;
        std::string error;
        EXPECT_TRUE(ParseIndexFile(std::string(bytes.begin(), bytes.end()), index, error)) << error;
        return index.names;
    }
    // An index of these names, as an export writes it.
    void WriteIndex(const std::vector<std::string>& names) const
    {
        std::string index;
        std::string error;
        ASSERT_TRUE(FormatIndexFile(names, "Coordinates", index, error)) << error;
        ASSERT_FALSE(WriteFileAtomically(folder / kIndexFileName, index));
    }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        static_cast<void>(ListFiles(folder, "*", names));
        return names;
    }
    static bool StagingGone()
    {
        std::vector<char> product(kPathBufferSize);
        const std::size_t length = GetProductTempFolder(product.size(), product.data());
        return length > 0 && !fs::exists(fs::path(std::string(product.data(), length)) / kTransferTemplateFolder);
    }

    fs::path destination = root / "dest";
    fs::path folder = destination / "QuWinSet" / "Cell Template" / "Coordinates";
};

} // namespace

TEST_F(QzTavLoadStoreDlgTest, TwoTemplatesExportedAndImportedIntoAnEmptyStoreKeepNamesAndWidths)
{
    std::vector<unsigned> widths;
    ASSERT_EQ(StoredItems("短縮", &widths), (std::vector<unsigned>{kPointName, kX}));
    driver.OnNextDialog([&](DialogOperator& manage) {
        driver.OnNextDialog([&](DialogOperator& person) {
            ExpectCaptionsFit(person);
            EXPECT_EQ(person.Caption(), "ﾃﾝﾌﾟﾚｰﾄ管理 - ﾃﾞｰﾀ転送");
            EXPECT_EQ(Items(person, IDC_TAV_TRANSFER_SOURCE), (std::vector<std::string>{"標準", "短縮"}));
            person.SetText(IDC_TAV_TRANSFER_PATH, destination.string());
            person.Return();
            EXPECT_TRUE(person.IsOpen()) << "Return in the folder field takes the folder and leaves the dialog open";
            EXPECT_EQ(QzTavTransferFolders(&manager).LoadDestinationPath(), destination.string()) << "remembered";
            EXPECT_TRUE(Items(person, IDC_TAV_TRANSFER_DESTINATION).empty());
            person.SetCheck(IDC_TAV_TRANSFER_ALL, true);
            driver.AnswerMessageBox(IDOK);  // all templates to the destination
            driver.AnswerMessageBox(IDYES); // the space needed
            person.Click(IDC_TAV_TRANSFER_EXPORT);
            EXPECT_EQ(Items(person, IDC_TAV_TRANSFER_DESTINATION), (std::vector<std::string>{"標準", "短縮"}));
            person.Click(IDOK);
        });
        manage.Click(IDC_TAV_TEMPLATE_TRANSFER);
        manage.Escape();
    });
    Command(NifCommand::Template);
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], "すべてのﾃﾝﾌﾟﾚｰﾄを" + destination.string() + "に転送します。\n\nよろしいですか？");
    EXPECT_EQ(boxes[1].substr(0, boxes[1].find("約")), "必要な容量は、");
    EXPECT_EQ(Files(), (std::vector<std::string>{"CELL00.mbf", "CELL01.mbf", "CELL02.mbf"}));
    EXPECT_EQ(IndexNames(), (std::vector<std::string>{"標準", "短縮"}));
    EXPECT_TRUE(StagingGone());
    EXPECT_GE(driver.OpenedDialogs().size(), 3u);
    EXPECT_EQ(driver.OpenedDialogs()[2], "ﾃﾞｰﾀ転送") << "the progress window";

    // A fresh store: the remembered path went with it, so it is chosen again.
    RegSetStore(HKEY_CURRENT_USER, std::make_shared<MemoryRegistryStore>());
    driver.ClearMessageBoxes();
    Transfer([&](DialogOperator& person) {
        EXPECT_TRUE(Items(person, IDC_TAV_TRANSFER_SOURCE).empty());
        driver.OnNextDialog([&](DialogOperator& chooser) {
            chooser.SetText(1001, destination.string());
            chooser.Return();
        });
        person.Click(IDC_TAV_TRANSFER_CHOOSE);
        EXPECT_EQ(Items(person, IDC_TAV_TRANSFER_DESTINATION), (std::vector<std::string>{"標準", "短縮"}));
        person.SetCheck(IDC_TAV_TRANSFER_ALL, true);
        driver.AnswerMessageBox(IDOK);
        person.Click(IDC_TAV_TRANSFER_IMPORT);
        EXPECT_EQ(Items(person, IDC_TAV_TRANSFER_SOURCE), (std::vector<std::string>{"標準", "短縮"}));
        person.Click(IDOK);
    });
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"すべてのﾃﾝﾌﾟﾚｰﾄを" + destination.string() + "から転送します。\n\nよろしいですか？"}));
    std::vector<unsigned> imported;
    EXPECT_EQ(StoredItems("短縮", &imported), (std::vector<unsigned>{kPointName, kX}));
    EXPECT_EQ(imported, widths);
    EXPECT_EQ(imported[0], 123u);
    EXPECT_EQ(StoredItems("標準").size(), 5u);
    EXPECT_EQ(QzTavTransferFolders(&manager).LoadDestinationPath(), destination.string()) << "remembered again";
}

TEST_F(QzTavLoadStoreDlgTest, ReplacingAskedOnceAndCancelKeepsEverything)
{
    auto exportOne = [&](const std::string& name, int answer) {
        Transfer([&, name, answer](DialogOperator& person) {
            TypePath(person, destination);
            person.Pick(IDC_TAV_TRANSFER_SOURCE, name);
            if (answer != 0)
                driver.AnswerMessageBox(answer);
            if (answer != IDCANCEL)
                driver.AnswerMessageBox(IDYES);
            person.Click(IDC_TAV_TRANSFER_EXPORT);
            person.Click(IDOK);
        });
    };
    exportOne("短縮", 0);
    exportOne("標準", 0);
    EXPECT_EQ(IndexNames(), (std::vector<std::string>{"短縮", "標準"}));
    EXPECT_EQ(Files(), (std::vector<std::string>{"CELL00.mbf", "CELL01.mbf", "CELL02.mbf"}));
    driver.ClearMessageBoxes();
    exportOne("短縮", IDCANCEL);
    EXPECT_EQ(IndexNames(), (std::vector<std::string>{"短縮", "標準"}));
    ASSERT_EQ(driver.MessageBoxes().size(), 1u) << "nothing is asked after Cancel";
    EXPECT_EQ(driver.MessageBoxes()[0].text, "ﾃﾝﾌﾟﾚｰﾄのﾃﾞｰﾀが、すでに書き込まれています。\n\n実行すると、元のﾃﾞｰﾀは消去されます。");
    exportOne("短縮", IDOK);
    EXPECT_EQ(IndexNames(), (std::vector<std::string>{"標準", "短縮"})) << "listed once, at the end";
    EXPECT_EQ(Files(), (std::vector<std::string>{"CELL00.mbf", "CELL01.mbf", "CELL02.mbf"}))
        << "its file is replaced, no other template's";

    // Importing over a template of the same name: Cancel keeps it, OK replaces it whole.
    manager.CustomizeTemplate({kCode});
    ASSERT_TRUE(TavTemplate(&manager).SaveTemplate("短縮"));
    for (const int answer : {IDCANCEL, IDOK}) {
        Transfer([&](DialogOperator& person) {
            person.Pick(IDC_TAV_TRANSFER_DESTINATION, "短縮");
            driver.AnswerMessageBox(answer);
            person.Click(IDC_TAV_TRANSFER_IMPORT);
            person.Click(IDOK);
        });
        EXPECT_EQ(StoredItems("短縮"), answer == IDOK ? (std::vector<unsigned>{kPointName, kX}) : (std::vector<unsigned>{kCode}));
    }
}

TEST_F(QzTavLoadStoreDlgTest, BadInputIsToldAndChangesNothing)
{
    const fs::path missing = root / "nowhere";
    Transfer([&](DialogOperator& person) {
        person.Click(IDC_TAV_TRANSFER_EXPORT);
        person.Click(IDC_TAV_TRANSFER_IMPORT);
        TypePath(person, missing);
        person.Pick(IDC_TAV_TRANSFER_SOURCE, "標準");
        person.Click(IDC_TAV_TRANSFER_EXPORT);
        TypePath(person, destination);
        static_cast<GupListCtrl*>(person.Control(IDC_TAV_TRANSFER_SOURCE))->SetCurSel(-1);
        person.Click(IDC_TAV_TRANSFER_EXPORT);
        person.Click(IDC_TAV_TRANSFER_IMPORT);
        EXPECT_TRUE(person.IsOpen());
        person.Click(IDOK);
    });
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              "転送先のパスが選択されていません。",
                              "転送先のパスが選択されていません。",
                              "転送先のﾌｫﾙﾀﾞ " + missing.string() + " が見つかりません。\n\nﾊﾟｽを変更してください。",
                              "転送元のﾃﾞｰﾀが選択されていません。",
                              "転送先が選択されていません。",
                          }));
    EXPECT_FALSE(fs::exists(missing));

    SCOPED_TRACE("a copy that fails half way: the first file arrived, the index was not written");
    fs::create_directories(folder / "CELL02.mbf");
    driver.ClearMessageBoxes();
    EXPECT_EQ(Transfer([&](DialogOperator& person) {
                  person.SetCheck(IDC_TAV_TRANSFER_ALL, true);
                  driver.AnswerMessageBox(IDOK);
                  driver.AnswerMessageBox(IDYES);
                  person.Click(IDC_TAV_TRANSFER_EXPORT);
                  EXPECT_FALSE(person.IsOpen()) << "a failed copy ends the dialog";
              }),
              IDOK);
    ASSERT_EQ(driver.MessageBoxes().size(), 3u);
    EXPECT_EQ(driver.MessageBoxes()[2].text, "ﾃﾝﾌﾟﾚｰﾄの抜出に失敗しました。\n\n処理を中断します。");
    EXPECT_EQ(driver.MessageBoxes()[2].style, MB_OK | MB_ICONHAND);
    EXPECT_EQ(Files(), (std::vector<std::string>{"CELL01.mbf"}));
    EXPECT_TRUE(StagingGone());

    SCOPED_TRACE("an index naming a template that has no file: told, and the store keeps its own");
    fs::remove(folder / "CELL02.mbf");
    WriteIndex({"標準", "幽霊"});
    manager.CustomizeTemplate({kZ});
    ASSERT_TRUE(TavTemplate(&manager).SaveTemplate("標準"));
    driver.ClearMessageBoxes();
    Transfer([&](DialogOperator& person) {
        EXPECT_EQ(Items(person, IDC_TAV_TRANSFER_DESTINATION), (std::vector<std::string>{"標準", "幽霊"}));
        person.SetCheck(IDC_TAV_TRANSFER_ALL, true);
        driver.AnswerMessageBox(IDOK);
        driver.AnswerMessageBox(IDOK);
        person.Click(IDC_TAV_TRANSFER_IMPORT);
        EXPECT_TRUE(person.IsOpen());
        person.Click(IDOK);
    });
    ASSERT_EQ(driver.MessageBoxes().size(), 3u);
    EXPECT_EQ(driver.MessageBoxes()[2].text, "ﾃﾝﾌﾟﾚｰﾄのﾃﾞｰﾀが、書き込まれていません。\n");
    EXPECT_EQ(StoredItems("標準"), (std::vector<unsigned>{kZ})) << "nothing was imported";
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"標準", "短縮"}));

    SCOPED_TRACE("a damaged file beside the template's own: refused before anything is written");
    std::ofstream(folder / "CELL05.mbf", std::ios::binary) << "not a template";
    driver.ClearMessageBoxes();
    EXPECT_EQ(Transfer([&](DialogOperator& person) {
                  person.Pick(IDC_TAV_TRANSFER_DESTINATION, "標準");
                  driver.AnswerMessageBox(IDOK);
                  person.Click(IDC_TAV_TRANSFER_IMPORT);
              }),
              IDOK);
    const std::string refused = BoxTexts().back();
    EXPECT_EQ(refused.substr(0, refused.find("\n\n", refused.find("\n\n") + 2)),
              "ﾃﾝﾌﾟﾚｰﾄの取込に失敗しました。\n\n処理を中断します。");
    EXPECT_NE(refused.find("CELL05.mbf"), std::string::npos) << "the file that stopped the import is named";
    EXPECT_EQ(StoredItems("標準"), (std::vector<unsigned>{kZ}));
}

TEST_F(QzTavLoadStoreDlgTest, ImportRefusesBeforeWritingWhatTheStoreWouldNotTake)
{
    // A key tree that fits where it was saved, near the root, but not below the template
    // group, some levels deeper.
    std::string chain = "Deep";
    for (std::size_t level = 2; level + 2 <= kMaxKeyDepth; ++level)
        chain += "\\k";
    ASSERT_TRUE(SolKey(HKEY_CURRENT_USER, chain).IsOpen());
    SolKey deep;
    ASSERT_TRUE(deep.Open(HKEY_CURRENT_USER, "Deep"));
    fs::create_directories(folder);
    TavUserData header;
    header.SetString("深い");
    ASSERT_EQ(SaveKeyToFile(deep, folder / "CELL02.mbf", header), 1);
    SolKey group;
    ASSERT_EQ(QzTavTransferFolders(&manager).OpenGroupKey(group), 1);
    SolKey shortLayout;
    ASSERT_TRUE(shortLayout.Open(group, "短縮"));
    header.SetString("短縮");
    ASSERT_EQ(SaveKeyToFile(shortLayout, folder / "CELL01.mbf", header), 1);
    TavTemplate(&manager).DeleteTemplate("短縮");
    WriteIndex({"短縮", "深い"});

    Transfer([&](DialogOperator& person) {
        TypePath(person, destination);
        person.SetCheck(IDC_TAV_TRANSFER_ALL, true);
        driver.AnswerMessageBox(IDOK);
        person.Click(IDC_TAV_TRANSFER_IMPORT);
    });
    const std::string refused = BoxTexts().back();
    EXPECT_EQ(refused.rfind("ﾃﾝﾌﾟﾚｰﾄの取込に失敗しました。\n\n処理を中断します。\n\n", 0), 0u) << refused;
    EXPECT_NE(refused.find((folder / "CELL02.mbf").string()), std::string::npos) << refused;
    EXPECT_NE(refused.find("deep"), std::string::npos) << "the reason: " << refused;
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"標準"})) << "the valid template before it was not imported either";
}

TEST_F(QzTavLoadStoreDlgTest, ExportToADestinationThatCannotTakeItSaysWhy)
{
    // The template file path would be 256 characters, one more than the suite reads.
    const std::string tail = "/QuWinSet/Cell Template/Coordinates/CELL02.mbf";
    const fs::path tooLong = root / std::string(256 - tail.size() - root.string().size() - 1, 'p');
    const fs::path longest = root / std::string(255 - tail.size() - root.string().size() - 1, 'q');
    fs::create_directories(tooLong);
    fs::create_directories(longest);
    for (const fs::path& target : {tooLong, longest, fs::path("/proc")}) {
        Transfer([&](DialogOperator& person) {
            TypePath(person, target);
            person.Pick(IDC_TAV_TRANSFER_SOURCE, "短縮");
            if (target == longest)
                driver.AnswerMessageBox(IDYES); // the space needed
            person.Click(IDC_TAV_TRANSFER_EXPORT);
            person.Click(IDOK);
        });
    }
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], "指定ﾃﾞｨﾚｸﾄﾘに抜出するとﾌｧｲﾙﾊﾟｽ名が長くなり過ぎます。\n抜出する事はできません。");
    EXPECT_TRUE(fs::is_empty(tooLong));
    EXPECT_EQ(boxes[1].rfind("必要な容量は、", 0), 0u) << "255 characters are taken";
    EXPECT_TRUE(fs::exists(longest / "QuWinSet/Cell Template/Coordinates/CELL02.mbf"));
    EXPECT_EQ(boxes[2], "ﾃﾝﾌﾟﾚｰﾄの抜出に失敗しました。\n\n処理を中断します。\n\n/proc/QuWinSet: No such file or directory")
        << "a folder that cannot be made ends the export, with the folder and the reason";
}
