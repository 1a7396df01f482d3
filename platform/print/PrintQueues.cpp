// Print queues through the CUPS client library.
#include "platform/print/PrintQueues.h"

#include <cups/cups.h>

namespace plat {

std::vector<PrintQueue> ListPrintQueues()
{
    std::vector<PrintQueue> queues;
    if (!IsPrintServerRunning())
        return queues; // asking would only wait for a server that is not there
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < count; ++i)
        if (dests[i].instance == nullptr)
            queues.push_back({dests[i].name, dests[i].is_default != 0});
    cupsFreeDests(count, dests);
    return queues;
}

bool IsPrintServerRunning()
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 1000, nullptr);
    if (http == nullptr)
        return false;
    httpClose(http);
    return true;
}

int SubmitPrintJob(const std::string& queue, const std::filesystem::path& pdf, const std::string& title, int copies,
                   std::string* error)
{
    cups_option_t* options = nullptr;
    int count = 0;
    count = cupsAddOption("copies", std::to_string(copies < 1 ? 1 : copies).c_str(), count, &options);
    count = cupsAddOption("document-format", "application/pdf", count, &options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.c_str(), pdf.c_str(), title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0 && error != nullptr) {
        const char* reason = cupsLastErrorString();
        *error = "the print queue " + queue + " refused the job: " + (reason != nullptr ? reason : "no reason given");
    }
    return job;
}

} // namespace plat
