// Import and export from the command line. The document is read and written as the editor
// does (the whole document checked, an atomic write), and the table is bound without a
// window.
#include "examples/coordinates/CoordinateCommandLine.h"

#include "components/support/NifResource.h"
#include "examples/coordinates/CoordinateExchange.h"
#include "examples/coordinates/CoordinateManager.h"
#include "examples/coordinates/CoordinateResources.h"
#include "platform/io/Archive.h"
#include "platform/io/Errors.h"
#include "platform/io/Files.h"
#include "tav/data/TavData.h"
#include "tav/frame/TavFrame.h"
#include "tav/resources/TavStrings.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace coordinates {

namespace {

// A table without a layout of its own gets every item in declaration order under the
// standard name, as the editor's first start lays one out, but without asking the template
// store: a script's run is no place to change a person's stored layouts.
void Bind(CoordinateManager& manager, TavData& data)
{
    if (data.TemplateName().empty() || data.Template().empty()) {
        data.SetTemplateName(NifLoadString(TavGetModuleHandle(), IDS_TAV_STANDARD), TavLayoutChange::Adopt);
        data.SetTemplate({kPointNo, kPointName, kX, kY, kZ, kCode, kLineType, kRadius, kFlag}, TavLayoutChange::Adopt);
    }
    manager.Associate(nullptr, &data);
}

int Fail(const std::string& why)
{
    std::fprintf(stderr, "coordinates: %s\n", why.c_str());
    return 1;
}

int Import(const std::filesystem::path& file, const std::filesystem::path& document, long rows)
{
    // A document is never written over unasked, and a script cannot be asked.
    if (plat::PathExists(document))
        return Fail(document.string() + " already exists");
    CoordinateManager manager(rows);
    TavData data;
    Bind(manager, data);
    const ExchangeReport report = ImportCoordinates(file, data, ImportMode::Replace);
    if (report.outcome == ExchangeReport::Outcome::Overflow)
        return Fail(NifLoadString(TavGetModuleHandle(), IDS_TAV_TOO_MANY_COORDINATES));
    if (!report.ok())
        return Fail(report.message);
    try {
        plat::Archive archive = plat::Archive::ForStoring();
        data.Serialize(archive);
        archive.SaveFile(document);
    } catch (const plat::ArchiveError& error) {
        return Fail(document.string() + ": " + error.what());
    }
    std::fprintf(stderr, "%s\n", report.message.c_str());
    return 0;
}

int Export(const std::filesystem::path& document, const std::filesystem::path& file, long rows)
{
    CoordinateManager manager(rows);
    TavData data;
    std::vector<std::uint8_t> bytes;
    if (const std::error_code error = plat::ReadWholeFile(document, bytes))
        return Fail(document.string() + ": " + error.message());
    try {
        plat::Archive archive = plat::Archive::ForLoading(bytes);
        data.Serialize(archive);
        if (archive.Remaining() != 0)
            return Fail(document.string() + ": bytes after the end of the document");
    } catch (const plat::ArchiveError& error) {
        return Fail(document.string() + ": " + error.what());
    }
    Bind(manager, data);
    const ExchangeReport report = ExportCoordinates(data, file, document.stem().string(), CsvEncoding::NarrowCodePage);
    if (!report.ok())
        return Fail(report.message);
    return 0;
}

} // namespace

std::optional<int> RunCommandLine(int argc, char** argv, long rows)
{
    static constexpr const char* kUsage = "usage: coordinates [--tty | --desktop] [--sample] [DOCUMENT]\n"
                                          "       coordinates --import FILE DOCUMENT\n"
                                          "       coordinates --export DOCUMENT FILE\n";
    const std::string_view command = argc < 2 ? std::string_view() : argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "--import" || command == "--export") {
        if (argc != 4) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        return command == "--import" ? Import(argv[2], argv[3], rows) : Export(argv[2], argv[3], rows);
    }
    // The editor's own arguments: a mistyped option must not open, and later save, a document
    // named after it.
    int documents = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--tty" || argument == "--desktop" || argument == "--sample")
            continue;
        const char* fault = nullptr;
        if (argument.starts_with('-'))
            fault = "unknown option";
        else if (++documents > 1)
            fault = "one document at a time";
        if (fault != nullptr) {
            std::fprintf(stderr, "coordinates: %s: %s\n%s", argv[i], fault, kUsage);
            return 2;
        }
    }
    return std::nullopt;
}

} // namespace coordinates
