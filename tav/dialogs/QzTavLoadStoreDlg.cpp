// The template transfer dialog.
#include "tav/dialogs/QzTavLoadStoreDlg.h"

#include "components/support/KescDirectoryDialog.h"
#include "components/support/NifResource.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "platform/text/NameCompare.h"
#include "platform/ui/App.h"
#include "tav/data/TavUserData.h"
#include "tav/dialogs/TavLayoutResources.h"
#include "tav/dialogs/TavTemplateDialog.h"
#include "tav/frame/TavFrame.h"
#include "tav/manager/TavManager.h"
#include "tav/templates/RegKeyFile.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>

namespace {

constexpr plat::UINT kError = plat::MB_OK | plat::MB_ICONHAND;
constexpr plat::UINT kWarning = plat::MB_OK | plat::MB_ICONEXCLAMATION;
constexpr plat::UINT kProceed = plat::MB_OKCANCEL | plat::MB_ICONQUESTION;

struct TransferMessage {
    int number;
    const char* text;
    plat::UINT style;
};

constexpr TransferMessage kMessages[] = {
    {0, "ﾃﾝﾌﾟﾚｰﾄの抜出に失敗しました。\n\n処理を中断します。", kError},
    {1, "ﾃﾝﾌﾟﾚｰﾄの取込に失敗しました。\n\n処理を中断します。", kError},
    {2, "転送元のﾃﾞｰﾀが選択されていません。", kWarning},
    {3, "転送先が選択されていません。", kWarning},
    {4, "転送先のパスが選択されていません。", kWarning},
    {7, "ﾃﾝﾌﾟﾚｰﾄのﾃﾞｰﾀが、書き込まれていません。\n", kWarning},
    {8, "ﾃﾝﾌﾟﾚｰﾄのﾃﾞｰﾀが、すでに書き込まれています。\n\n実行すると、元のﾃﾞｰﾀは消去されます。",
     plat::MB_OKCANCEL | plat::MB_ICONEXCLAMATION},
    {9, "ﾄﾞﾗｲﾌﾞ%sにﾃﾝﾌﾟﾚｰﾄのﾃﾞｰﾀが、存在しません。\n\nﾊﾟｽを変更してください。", kWarning},
};

constexpr const char* kExportAll = "すべてのﾃﾝﾌﾟﾚｰﾄを%sに転送します。\n\nよろしいですか？";
constexpr const char* kImportAll = "すべてのﾃﾝﾌﾟﾚｰﾄを%sから転送します。\n\nよろしいですか？";
constexpr const char* kPathTooLong =
    "指定ﾃﾞｨﾚｸﾄﾘに抜出するとﾌｧｲﾙﾊﾟｽ名が長くなり過ぎます。\n抜出する事はできません。";
constexpr const char* kNoFolder = "転送先のﾌｫﾙﾀﾞ %s が見つかりません。\n\nﾊﾟｽを変更してください。";

// The longest template file path an export writes, in characters: the suite's programs that
// read the folder take no longer one.
constexpr std::size_t kMaxTransferPathLength = 255;

std::size_t CharacterCount(const std::string& text)
{
    // Every byte but the continuation bytes of UTF-8 starts a character.
    const auto starts = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), starts));
}

std::string WithPath(const char* format, const std::string& path)
{
    std::vector<char> text(std::string_view(format).size() + path.size() + 1);
    std::snprintf(text.data(), text.size(), format, path.c_str());
    return text.data();
}

// The number of a file named CELLnn.mbf, or nothing for another name.
std::optional<int> FileNumber(const std::string& name)
{
    const std::string folded = plat::FoldCase(name);
    if (folded.size() < 9 || folded.compare(0, 4, "cell") != 0 || folded.compare(folded.size() - 4, 4, ".mbf") != 0)
        return std::nullopt;
    const std::string digits = folded.substr(4, folded.size() - 8);
    if (digits.empty() || digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(digits);
}

// The header of a template file, the template's name; nothing, and why, when the file cannot
// be read.
std::optional<std::string> ReadHeader(const std::string& path, std::string* why = nullptr)
{
    TavUserData header;
    if (!RestoreKeyFromFile(nullptr, {}, path, header, false, why))
        return std::nullopt;
    return header.GetString();
}

// The staging folder holds copies only, in the suite's temporary space; a removal that fails
// leaves them there, and the person has been told of the failure that matters.
void RemoveStaging(QzTavTransferFolders& folders) { static_cast<void>(folders.RemoveTempFolder()); }

} // namespace

BEGIN_MESSAGE_MAP(QzTavLoadStoreDlg, KesDialog)
    ON_BN_CLICKED(IDC_TAV_TRANSFER_CHOOSE, OnChooseFolder)
    ON_BN_CLICKED(IDC_TAV_TRANSFER_EXPORT, OnExport)
    ON_BN_CLICKED(IDC_TAV_TRANSFER_IMPORT, OnImport)
    ON_CONTROL(plat::EN_KILLFOCUS, IDC_TAV_TRANSFER_PATH, OnKillFocusPath)
END_MESSAGE_MAP()

QzTavLoadStoreDlg::QzTavLoadStoreDlg(TavManager* manager, plat::Wnd* parent)
    : KesDialog((TavAddLayoutResources(), TavGetModuleHandle()), IDD_TAV_TRANSFER, parent), m_manager(manager),
      m_store(manager), m_folders(manager, this)
{
}

void QzTavLoadStoreDlg::DoDataExchange(plat::DataExchange& dx)
{
    plat::DDX_Control(dx, IDC_TAV_TRANSFER_DESTINATION, m_destinationList);
    plat::DDX_Control(dx, IDC_TAV_TRANSFER_SOURCE, m_sourceList);
    plat::DDX_Text(dx, IDC_TAV_TRANSFER_PATH, Destination());
    plat::DDX_Check(dx, IDC_TAV_TRANSFER_ALL, m_selectAll);
}

int QzTavLoadStoreDlg::Message(const std::string& text, plat::UINT style) { return plat::MessageBox(this, text, {}, style); }

int QzTavLoadStoreDlg::ShowTransferMessage(int number, const std::string& detail)
{
    for (const TransferMessage& message : kMessages)
        if (message.number == number)
            return Message(WithPath(message.text, Destination()) + (detail.empty() ? "" : "\n\n" + detail), message.style);
    return 0;
}

plat::BOOL QzTavLoadStoreDlg::OnInitDialog()
{
    KesDialog::OnInitDialog();
    const plat::ModuleHandle previous = NifSetResourceHandle(TavGetModuleHandle());
    m_images.Create(IDB_TAV_TEMPLATE, 16, 1, kTavTemplateMask);
    NifSetResourceHandle(previous);
    plat::RECT client;
    m_sourceList.GetClientRect(&client);
    for (GupListCtrl* list : {&m_sourceList, &m_destinationList}) {
        list->SetImageList(&m_images, plat::LVSIL_SMALL);
        list->ModifyStyle(0, plat::LVS_SHOWSELALWAYS);
        list->SetExtendedListViewStyle(list->GetExtendedStyle() | plat::LVS_EX_FULLROWSELECT);
        list->InsertColumn(0, "名前", plat::LVCFMT_LEFT, client.right - client.left);
    }
    FillSourceList();
    m_sourceList.SetCurSel(m_sourcePosition);
    GotoDlgCtrl(&m_sourceList);
    m_destinationList.SetCurSel(m_destinationPosition);

    Destination() = m_folders.LoadDestinationPath();
    if (!Destination().empty())
        ShowDestination();
    UpdateData(FALSE);
    return FALSE; // the focus is on the source list
}

void QzTavLoadStoreDlg::FillSourceList()
{
    m_sourceList.DeleteAllItems();
    std::vector<std::string> names;
    m_store.GetNameArray(names);
    for (const std::string& name : names)
        m_sourceList.InsertItem(m_sourceList.GetItemCount(), name, 0);
}

void QzTavLoadStoreDlg::FillDestinationList()
{
    m_destinationList.DeleteAllItems();
    for (const std::string& name : m_folders.IndexNames())
        m_destinationList.InsertItem(m_destinationList.GetItemCount(), name, 0);
    m_destinationList.SetCurSel(m_destinationPosition);
}

void QzTavLoadStoreDlg::ShowDestination()
{
    m_folders.DestinationTemplateFolder() = m_folders.TemplateFolderOf(Destination());
    m_destinationList.DeleteAllItems();
    if (m_folders.ReadIndexFile(m_folders.DestinationTemplateFolder()))
        FillDestinationList();
}

void QzTavLoadStoreDlg::OnKillFocusPath()
{
    const std::string old = Destination();
    UpdateData(TRUE);
    if (plat::EqualNoCase(old, Destination()))
        return;
    if (Destination().empty()) {
        m_destinationList.DeleteAllItems();
    } else {
        ShowDestination();
        if (!m_folders.SaveDestinationPath())
            Destination().clear();
    }
    UpdateData(FALSE);
}

bool QzTavLoadStoreDlg::PreTranslateInput(const plat::InputEvent& event)
{
    plat::Wnd* path = GetDlgItem(IDC_TAV_TRANSFER_PATH);
    if (event.kind == plat::InputEvent::Kind::Key && event.key == plat::VK_RETURN && !event.shift && !event.control &&
        !event.alt && path != nullptr && plat::Wnd::GetFocus() == path) {
        OnKillFocusPath();
        path->SendMessage(plat::EM_SETSEL, 0, -1);
        return true;
    }
    return KesDialog::PreTranslateInput(event);
}

void QzTavLoadStoreDlg::OnChooseFolder()
{
    UpdateData(TRUE);
    KescDirectoryDialog chooser(Destination(), nullptr, this);
    if (chooser.DoModal() == plat::IDOK) {
        Destination() = chooser.GetPathName();
        if (Destination().empty()) {
            m_destinationList.DeleteAllItems();
            UpdateData(FALSE);
            return;
        }
        ShowDestination();
    }
    if (!m_folders.SaveDestinationPath())
        Destination().clear();
    UpdateData(FALSE);
}

std::vector<int> QzTavLoadStoreDlg::Taken(int count, int position) const
{
    std::vector<int> taken;
    if (m_selectAll) {
        for (int i = 0; i < count; ++i)
            taken.push_back(i);
    } else if (position >= 0 && position < count) {
        taken.push_back(position);
    }
    return taken;
}

int QzTavLoadStoreDlg::ConfirmOverwrite(Direction direction, const std::vector<std::string>& registryNames)
{
    std::vector<std::string>& indexNames = m_folders.IndexNames();
    if (direction == Direction::Import) {
        for (int i : Taken(static_cast<int>(indexNames.size()), m_destinationPosition)) {
            if (m_selectAll)
                m_destinationPosition = i;
            const std::string& name = indexNames[static_cast<std::size_t>(i)];
            if (std::any_of(registryNames.begin(), registryNames.end(), [&](const std::string& r) { return plat::EqualNoCase(r, name); }))
                return ShowTransferMessage(8) == plat::IDCANCEL ? 0 : 1;
        }
        return 1;
    }
    bool asked = false;
    for (int i : Taken(static_cast<int>(registryNames.size()), m_sourcePosition)) {
        if (m_selectAll)
            m_sourcePosition = i;
        const std::string& name = registryNames[static_cast<std::size_t>(i)];
        const auto equal = [&](const std::string& listed) { return plat::EqualNoCase(listed, name); };
        if (std::none_of(indexNames.begin(), indexNames.end(), equal))
            continue;
        if (!asked) {
            asked = true;
            if (ShowTransferMessage(8) == plat::IDCANCEL)
                return 0;
        }
        // Listed again at the end once its file has arrived.
        std::erase_if(indexNames, equal);
    }
    return 1;
}

int QzTavLoadStoreDlg::ExportTemplate(const std::string& name, int number, std::string& folder, std::string& why)
{
    TavUserData header;
    header.SetString(name);
    folder = WithSeparator(folder) + TemplateFileName(number);
    SolKey group;
    SolKey key;
    if (!m_folders.OpenGroupKey(group) || !key.Open(group, name)) {
        why = name + ": the template is not in the registry";
        return 0;
    }
    return SaveKeyToFile(key, folder, header, &why);
}

std::vector<int> QzTavLoadStoreDlg::FileNumbers(const std::vector<std::string>& names, const std::vector<int>& places)
{
    std::vector<int> numbers(names.size(), 0);
    std::set<int> used;
    std::vector<std::string> files;
    if (plat::FolderExists(m_folders.DestinationTemplateFolder()))
        ListTemplateFiles(m_folders.DestinationTemplateFolder(), files);
    for (const std::string& file : files) {
        const std::optional<int> number = FileNumber(file);
        if (!number || *number == 0)
            continue;
        used.insert(*number);
        const std::optional<std::string> header = ReadHeader(WithSeparator(m_folders.DestinationTemplateFolder()) + file);
        for (std::size_t i = 0; header && i < names.size(); ++i)
            if (numbers[i] == 0 && plat::EqualNoCase(*header, names[i]))
                numbers[i] = *number;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (numbers[i] != 0)
            continue;
        int number = places[i] + 1;
        if (used.count(number) != 0) {
            number = 1;
            while (used.count(number) != 0)
                ++number;
        }
        numbers[i] = number;
        used.insert(number);
    }
    return numbers;
}

void QzTavLoadStoreDlg::StartProgress(int steps)
{
    m_progress.SetCaption("ﾃﾞｰﾀ転送");
    if (!m_progress.IsWindow())
        m_progress.Create(this, FALSE);
    m_progress.SetMessage("しばらくお待ちください...");
    m_progress.SetRange(0, steps);
    m_progress.SetStep(1);
    m_progress.SetPos(0);
    if (m_progress.IsWindow())
        m_progress.ShowWindow(plat::SW_SHOW);
}

void QzTavLoadStoreDlg::ShowProgress(int running, int steps)
{
    m_progress.SetMessage(std::to_string(running) + " / " + std::to_string(steps));
}

void QzTavLoadStoreDlg::EndProgress()
{
    if (m_progress.IsWindow())
        m_progress.DestroyWindow();
}

void QzTavLoadStoreDlg::OnExport()
{
    UpdateData(TRUE);
    if (Destination().empty()) {
        ShowTransferMessage(4);
        return;
    }
    // A typing slip would otherwise grow a new folder tree somewhere.
    if (!plat::FolderExists(Destination())) {
        Message(WithPath(kNoFolder, Destination()), kWarning);
        return;
    }
    m_sourcePosition = -1;
    if (!m_selectAll) {
        if (m_sourceList.GetSelectedCount() != 1) {
            ShowTransferMessage(2);
            return;
        }
        m_sourcePosition = m_sourceList.GetCurSel();
    }
    std::vector<std::string> registryNames;
    m_store.GetNameArray(registryNames);
    const std::vector<int> taken = Taken(static_cast<int>(registryNames.size()), m_sourcePosition);
    if (!m_selectAll && taken.empty()) {
        ShowTransferMessage(2);
        return;
    }

    // The destination's index as it is now: the list may show an older one.
    m_folders.DestinationTemplateFolder() = m_folders.TemplateFolderOf(Destination());
    const std::string indexPath = WithSeparator(m_folders.DestinationTemplateFolder()) + kIndexFileName;
    if (!m_folders.ReadIndexFile(m_folders.DestinationTemplateFolder()) && plat::PathExists(indexPath)) {
        ShowTransferMessage(0); // an index that cannot be read is not written over
        return;
    }
    std::vector<std::string> names;
    std::vector<int> places;
    for (int i : taken) {
        names.push_back(registryNames[static_cast<std::size_t>(i)]);
        places.push_back(i);
    }
    const std::vector<int> numbers = FileNumbers(names, places);
    const int highest = numbers.empty() ? (m_selectAll ? static_cast<int>(registryNames.size()) : m_sourcePosition + 1)
                                        : *std::max_element(numbers.begin(), numbers.end());
    if (CharacterCount(WithSeparator(m_folders.DestinationTemplateFolder()) + TemplateFileName(std::max(highest, 1)))
        > kMaxTransferPathLength) {
        Message(kPathTooLong, kWarning);
        return;
    }
    if (m_selectAll && Message(WithPath(kExportAll, Destination()), kProceed) == plat::IDCANCEL)
        return;
    if (!ConfirmOverwrite(Direction::Export, registryNames))
        return;
    // The staging folder's parents belong to the suite; on a machine where no program of it
    // made them yet, they are made here rather than failing every export.
    std::vector<char> product(kPathBufferSize);
    if (const std::size_t length = GetProductTempFolder(product.size(), product.data()); length > 0 && length < product.size())
        static_cast<void>(plat::MakeFolders(std::string(product.data(), length)));
    if (!m_folders.MakeTempFolder()) {
        ShowTransferMessage(0);
        OnOK();
        return;
    }

    std::vector<std::string> exported;
    m_folders.StagedFiles().clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (m_selectAll)
            m_sourcePosition = places[i];
        std::string file = m_folders.StagingFolder();
        if (std::string why; !ExportTemplate(names[i], numbers[i], file, why)) {
            ShowTransferMessage(0, why);
            RemoveStaging(m_folders);
            OnOK();
            return;
        }
        exported.push_back(names[i]);
        m_folders.StagedFiles().push_back(file);
    }
    if (m_folders.StagedFiles().empty()) {
        RemoveStaging(m_folders);
        return;
    }
    std::string destinationFolder;
    if (!m_folders.MakeDestinationFolder(destinationFolder)) {
        // Which folder could not be made and why: the person can do something about it.
        ShowTransferMessage(0, m_folders.LastError());
        RemoveStaging(m_folders);
        return;
    }
    m_folders.DestinationTemplateFolder() = destinationFolder;
    if (m_folders.CheckDiskSpace() != 1) {
        RemoveStaging(m_folders);
        return;
    }

    m_copiedNames.clear();
    const std::vector<std::string> staged = m_folders.StagedFiles();
    const int steps = static_cast<int>(staged.size());
    StartProgress(steps);
    for (int i = 0; i < steps; ++i) {
        ShowProgress(i + 1, steps);
        const std::filesystem::path source(staged[static_cast<std::size_t>(i)]);
        if (plat::CopyFileReplacing(source, WithSeparator(destinationFolder) + source.filename().string())) {
            ShowTransferMessage(0);
            RemoveStaging(m_folders);
            EndProgress();
            OnOK();
            return;
        }
        m_copiedNames.push_back(exported[static_cast<std::size_t>(i)]);
        m_progress.StepIt();
    }

    std::vector<std::string>& indexNames = m_folders.IndexNames();
    indexNames.insert(indexNames.end(), m_copiedNames.begin(), m_copiedNames.end());
    std::string stagedIndex = m_folders.StagingFolder();
    if (!m_folders.WriteIndexFile(indexNames, stagedIndex) ||
        plat::CopyFileReplacing(stagedIndex, WithSeparator(destinationFolder) + kIndexFileName)) {
        ShowTransferMessage(0);
        RemoveStaging(m_folders);
        EndProgress();
        OnOK();
        return;
    }
    if (m_folders.ReadIndexFile(destinationFolder))
        FillDestinationList();
    RemoveStaging(m_folders);
    EndProgress();
    UpdateData(TRUE);
}

void QzTavLoadStoreDlg::OnImport()
{
    UpdateData(TRUE);
    if (Destination().empty()) {
        ShowTransferMessage(4);
        return;
    }
    if (m_selectAll && Message(WithPath(kImportAll, Destination()), kProceed) == plat::IDCANCEL)
        return;
    m_destinationPosition = -1;
    if (!m_selectAll) {
        if (m_destinationList.GetSelectedCount() != 1) {
            ShowTransferMessage(3);
            return;
        }
        m_destinationPosition = m_destinationList.GetCurSel();
    }
    const std::string folder = m_folders.TemplateFolderOf(Destination());
    m_folders.DestinationTemplateFolder() = folder;
    if (!ListTemplateFiles(folder, m_destinationFiles)) {
        ShowTransferMessage(9);
        return;
    }
    if (!m_folders.ReadIndexFile(folder)) {
        ShowTransferMessage(1);
        OnOK();
        return;
    }
    const std::vector<std::string> indexNames = m_folders.IndexNames();
    const std::vector<int> taken = Taken(static_cast<int>(indexNames.size()), m_destinationPosition);
    if (!m_selectAll && taken.empty()) {
        FillDestinationList(); // the list showed an index that has changed since
        ShowTransferMessage(3);
        return;
    }
    // Every name is checked before any template is written, so a bad one changes nothing.
    for (int i : taken) {
        const std::string& name = indexNames[static_cast<std::size_t>(i)];
        if (const std::string problem = TavTemplateDialog::NameProblem(name); !problem.empty()) {
            Message("ﾃﾝﾌﾟﾚｰﾄ '" + name + "' は取り込めません。\n\n" + problem, kWarning);
            return;
        }
    }
    std::vector<std::string> registryNames;
    m_store.GetNameArray(registryNames);
    if (!ConfirmOverwrite(Direction::Import, registryNames))
        return;
    SolKey group;
    if (!m_folders.OpenGroupKey(group)) {
        ShowTransferMessage(1);
        OnOK();
        return;
    }
    const int steps = static_cast<int>(taken.size());
    StartProgress(steps);

    // The headers are read once: each names the template its file holds, whatever its number.
    std::vector<std::pair<std::string, std::string>> headers; // file path, template name
    for (const std::string& file : m_destinationFiles) {
        if (plat::EqualNoCase(file, kIndexFileName))
            continue;
        const std::string path = WithSeparator(folder) + file;
        std::string why;
        const std::optional<std::string> header = ReadHeader(path, &why);
        if (!header) {
            ShowTransferMessage(1, why);
            EndProgress();
            OnOK();
            return;
        }
        headers.emplace_back(path, *header);
    }
    std::vector<std::string> files;
    for (int i : taken) {
        const std::string& name = indexNames[static_cast<std::size_t>(i)];
        const auto found = std::find_if(headers.begin(), headers.end(), [&](const auto& h) { return plat::EqualNoCase(h.second, name); });
        if (found == headers.end()) {
            if (m_selectAll)
                m_destinationPosition = i;
            EndProgress();
            ShowTransferMessage(7);
            return;
        }
        files.push_back(found->first);
    }
    // Every template is held against the store's own limits before the first is written, so
    // that an import fails part way only when the storage itself fails.
    for (std::size_t n = 0; n < files.size(); ++n) {
        std::string why;
        if (!CheckKeyRestore(group, indexNames[static_cast<std::size_t>(taken[n])], files[n], &why)) {
            ShowTransferMessage(1, why);
            EndProgress();
            OnOK();
            return;
        }
    }
    for (int n = 0; n < steps; ++n) {
        const int i = taken[static_cast<std::size_t>(n)];
        if (m_selectAll)
            m_destinationPosition = i;
        ShowProgress(n + 1, steps);
        TavUserData header;
        std::string why;
        if (!RestoreKeyFromFile(group, indexNames[static_cast<std::size_t>(i)], files[static_cast<std::size_t>(n)], header,
                                true, &why)) {
            // The templates restored before stay; the person learns which file stopped it.
            ShowTransferMessage(1, files[static_cast<std::size_t>(n)] + (why.empty() ? "" : "\n" + why));
            EndProgress();
            OnOK();
            return;
        }
        m_progress.StepIt();
    }
    FillSourceList();
    m_sourceList.SetCurSel(m_sourcePosition);
    EndProgress();
    UpdateData(TRUE);
}
