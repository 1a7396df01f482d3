// Index files from other people's disks: any bytes are read or refused, and an index that was
// read writes back to bytes that read as the same names and trailer.
#include "tav/templates/TransferFolders.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TransferIndex index;
    std::string error;
    if (!ParseIndexFile(std::string_view(reinterpret_cast<const char*>(data), size), index, error))
        return 0;
    std::string bytes;
    if (!FormatIndexFile(index.names, index.trailer[0], bytes, error))
        return 0; // a name with a lone CR, say, is read but never written
    TransferIndex again;
    if (!ParseIndexFile(bytes, again, error) || again.names != index.names || again.trailer[0] != index.trailer[0])
        std::abort();
    return 0;
}
