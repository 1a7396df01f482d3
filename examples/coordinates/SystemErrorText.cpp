// Japanese texts of the errors a file command can meet.
#include "examples/coordinates/SystemErrorText.h"

#include "platform/io/Files.h"

namespace coordinates {

std::string SystemErrorText(const std::error_code& error)
{
    if (error == plat::NotARegularFileError())
        return "通常のファイルではありません（デバイスや FIFO など）。";
    if (error.category() != std::generic_category() && error.category() != std::system_category())
        return error.message();
    switch (static_cast<std::errc>(error.value())) {
    case std::errc::no_such_file_or_directory: return "ファイルまたはフォルダがありません。";
    case std::errc::permission_denied:
    case std::errc::operation_not_permitted: return "アクセスが拒否されました。";
    case std::errc::is_a_directory: return "フォルダです。ファイル名を指定してください。";
    case std::errc::not_a_directory: return "パスの途中にフォルダでないものがあります。";
    case std::errc::no_space_on_device: return "ディスクに空きがありません。";
    case std::errc::file_too_large: return "ファイルが大きすぎます。";
    case std::errc::read_only_file_system: return "読み取り専用のファイルシステムです。";
    case std::errc::too_many_symbolic_link_levels: return "シンボリックリンクが多すぎるか、循環しています。";
    case std::errc::filename_too_long: return "ファイル名が長すぎます。";
    case std::errc::device_or_resource_busy:
    case std::errc::text_file_busy: return "ファイルが使用中です。";
    case std::errc::io_error: return "入出力エラーが発生しました。";
    case std::errc::file_exists: return "同じ名前のものが既にあります。";
    case std::errc::invalid_argument: return "ファイル名が正しくありません。";
    default: break;
    }
#ifdef EDQUOT
    if (error.value() == EDQUOT)
        return "ディスクの使用量の上限を超えました。";
#endif
    return error.message();
}

std::string PathErrorText(const std::filesystem::path& path, const std::error_code& error)
{
    return path.string() + ": " + SystemErrorText(error);
}

} // namespace coordinates
