// The support library's application object: the program's help file lies beside its
// executable, and the help type is kept for the commands that switch it while they call help.
#pragma once

#include "platform/ui/App.h"

#include <string>

class QanWinApp : public plat::WinApp {
public:
    // helpFileName: the name of the help file beside the executable (empty: none).
    QanWinApp(std::string name, std::string category, plat::Driver* driver, const std::string& helpFileName = {});
};
