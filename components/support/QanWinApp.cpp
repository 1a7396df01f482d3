// Where the help file of a program is found.
#include "components/support/QanWinApp.h"

#include <filesystem>
#include <system_error>

QanWinApp::QanWinApp(std::string name, std::string category, plat::Driver* driver, const std::string& helpFileName)
    : WinApp(std::move(name), std::move(category), driver)
{
    if (helpFileName.empty())
        return;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    SetHelpFilePath(error ? std::filesystem::path(helpFileName) : program.parent_path() / helpFileName);
}
