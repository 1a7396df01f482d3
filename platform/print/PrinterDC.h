// The device context of a printed document: its pages are drawn onto a PDF surface and the
// document ends up either as a PDF file or as a job of a print queue. Nothing half-written is
// ever left under the chosen name: the document is written aside and put in place at its end.
#pragma once

#include "platform/ui/Gdi.h"

#include <filesystem>
#include <memory>
#include <string>

namespace plat {

struct DOCINFO {
    std::string docName; // the job's title
    std::string output;  // a file to print into instead (empty: the device's own)
};

inline constexpr int SP_ERROR = -1;

class PrinterDC : public DC {
public:
    // A page of A4 paper, upright until turned, 600 device pixels per inch, half an inch of
    // margin all round.
    static constexpr int kDpi = 600;
    PrinterDC();
    // A document still open is abandoned: its file is removed, no job is sent.
    ~PrinterDC() override;

    // The destination: a PDF file, or a print queue that gets the document as a PDF.
    BOOL CreatePdfDC(std::filesystem::path file);
    BOOL CreateQueueDC(std::string queue, int copies = 1);

    // Each returns a positive number on success and SP_ERROR on failure, which GetError
    // explains; after a failure the document is abandoned.
    int StartDoc(const DOCINFO& info);
    int StartPage() override;
    int EndPage() override;
    int EndDoc();
    void AbortDoc() noexcept;
    // Portrait or landscape for the pages not yet started; not while a page is open.
    BOOL ResetDC(const DEVMODE& mode) override;

    [[nodiscard]] const std::string& GetError() const noexcept { return m_error; }
    [[nodiscard]] int GetPageCount() const noexcept { return m_pages; }
    // Paper keeps the cell model in its logical units, whatever the screen measures: printed
    // text is drawn in a fixed-pitch face sized to it.
    [[nodiscard]] const TextMeasure& GetMeasure() const override { return GetCellTextMeasure(); }

private:
    struct Surface;
    int Fail(std::string why);
    void DrawPage();

    std::filesystem::path m_file;
    std::string m_queue;
    int m_copies = 1;
    std::string m_title;
    std::string m_error;
    int m_pages = 0;
    bool m_inPage = false;
    bool m_landscape = false;
    std::unique_ptr<Surface> m_surfaceState;
};

} // namespace plat
