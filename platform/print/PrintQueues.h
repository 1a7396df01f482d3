// The machine's print queues, as the CUPS server knows them, and jobs sent to them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace plat {

struct PrintQueue {
    std::string name;
    bool isDefault = false;
};

// Empty when no server answers.
[[nodiscard]] std::vector<PrintQueue> ListPrintQueues();
// Whether a CUPS server answers at all.
[[nodiscard]] bool IsPrintServerRunning();
// Sends a PDF file as a job; the job's number, or 0 with the server's reason in error.
int SubmitPrintJob(const std::string& queue, const std::filesystem::path& pdf, const std::string& title, int copies,
                   std::string* error);

} // namespace plat
