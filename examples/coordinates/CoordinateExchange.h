// Import and export of coordinate files for the editor and its command line: the kind of a
// file from its extension or content, the whole file read and checked before the table
// changes, and the export written atomically as a save is.
#pragma once

#include "examples/coordinates/CsvFile.h"
#include "examples/coordinates/ExchangePoints.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>

class TavData;

namespace coordinates {

enum class ExchangeKind { Sima, Csv };

// .sim and .csv name their kind; for another name, a file that starts like a SIMA file is
// one, and anything else is taken as CSV. Writing without a telling extension writes SIMA.
[[nodiscard]] ExchangeKind KindForReading(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
[[nodiscard]] ExchangeKind KindForWriting(const std::filesystem::path& path);

struct ExchangeReport {
    enum class Outcome { Done, Failed, Overflow };
    Outcome outcome = Outcome::Failed;
    // For a person: what was read and skipped, or why nothing changed. An overflow carries
    // no text: the library's own message says it.
    std::string message;
    [[nodiscard]] bool ok() const noexcept { return outcome == Outcome::Done; }
};

// Reads the file whole into the table as one undo step, or changes nothing.
[[nodiscard]] ExchangeReport ImportCoordinates(const std::filesystem::path& path, TavData& data, ImportMode mode);

// Writes the table's points; title heads a SIMA file.
[[nodiscard]] ExchangeReport ExportCoordinates(const TavData& data, const std::filesystem::path& path,
                                               const std::string& title, CsvEncoding encoding);

// The name of the undo step an import is.
inline constexpr const char* kImportStepName = "読み込み";

} // namespace coordinates
