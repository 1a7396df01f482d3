// Pages drawn with cairo onto a PDF stream that goes into a file beside the destination, put
// in place (or handed to the print queue) only when the whole document is written.
#include "platform/print/PrinterDC.h"

#include "platform/io/Files.h"
#include "platform/print/PrintQueues.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <utility>
#include <unistd.h>

namespace plat {

namespace {

constexpr double kPaperWidthInches = 210.0 / 25.4; // A4
constexpr double kPaperHeightInches = 297.0 / 25.4;
constexpr double kMarginInches = 0.5;
constexpr double kPointsPerInch = 72.0;
// The text's size against its line: the cell model's half-width character (half a line)
// then stays inside its eight units.
constexpr double kEmPerLine = 0.85;

double Red(COLORREF c) { return (c & 0xFF) / 255.0; }
double Green(COLORREF c) { return ((c >> 8) & 0xFF) / 255.0; }
double Blue(COLORREF c) { return ((c >> 16) & 0xFF) / 255.0; }

// A face that fontconfig picks for Japanese text, fixed-pitch so that the cell model's widths
// hold: half-width characters half the width of full-width ones.
cairo_font_face_t* JapaneseFace(bool bold)
{
    static cairo_font_face_t* faces[2] = {nullptr, nullptr};
    cairo_font_face_t*& face = faces[bold ? 1 : 0];
    if (face != nullptr)
        return face;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(bold ? "monospace:lang=ja:weight=bold" : "monospace:lang=ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    face = cairo_ft_font_face_create_for_pattern(match != nullptr ? match : pattern);
    if (match != nullptr)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return face;
}

} // namespace

struct PrinterDC::Surface {
    // A PDF file is written through the one writer that replaces nothing but a regular file;
    // a job for a queue goes to a temporary file of its own.
    AtomicFileWriter document;
    std::filesystem::path temp;
    std::FILE* file = nullptr;
    int writeError = 0;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;

    static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length)
    {
        auto* self = static_cast<Surface*>(closure);
        if (self->document.IsOpen()) {
            if (const std::error_code error = self->document.Write(data, length)) {
                self->writeError = error.value();
                return CAIRO_STATUS_WRITE_ERROR;
            }
            return CAIRO_STATUS_SUCCESS;
        }
        if (std::fwrite(data, 1, length, self->file) != length) {
            self->writeError = errno != 0 ? errno : EIO;
            return CAIRO_STATUS_WRITE_ERROR;
        }
        return CAIRO_STATUS_SUCCESS;
    }
    // Closes everything; the temporary file stays for the caller to move or remove.
    void Close() noexcept
    {
        if (cr != nullptr)
            cairo_destroy(std::exchange(cr, nullptr));
        if (surface != nullptr) {
            cairo_surface_finish(surface);
            cairo_surface_destroy(std::exchange(surface, nullptr));
        }
        if (file != nullptr)
            std::fclose(std::exchange(file, nullptr));
    }
    ~Surface()
    {
        Close();
        if (!temp.empty()) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
        }
    }
};

PrinterDC::PrinterDC()
{
    m_dpi = kDpi;
    m_surface = SIZE{static_cast<LONG>((kPaperWidthInches - 2 * kMarginInches) * kDpi),
                     static_cast<LONG>((kPaperHeightInches - 2 * kMarginInches) * kDpi)};
}

PrinterDC::~PrinterDC() { AbortDoc(); }

BOOL PrinterDC::CreatePdfDC(std::filesystem::path file)
{
    if (file.empty() || m_surfaceState)
        return FALSE;
    m_file = std::move(file);
    m_queue.clear();
    return TRUE;
}

BOOL PrinterDC::CreateQueueDC(std::string queue, int copies)
{
    if (queue.empty() || m_surfaceState)
        return FALSE;
    m_queue = std::move(queue);
    m_copies = copies;
    m_file.clear();
    return TRUE;
}

int PrinterDC::Fail(std::string why)
{
    m_error = std::move(why);
    AbortDoc();
    return SP_ERROR;
}

int PrinterDC::StartDoc(const DOCINFO& info)
{
    if (m_surfaceState)
        return Fail("a document is already being printed");
    if (!info.output.empty()) {
        m_file = info.output;
        m_queue.clear();
    }
    if (m_file.empty() && m_queue.empty())
        return Fail("no printer or file was chosen");
    m_title = info.docName;
    m_error.clear();
    m_pages = 0;
    m_ops.clear();
    auto state = std::make_unique<Surface>();
    if (m_queue.empty()) {
        if (const std::error_code error = state->document.Open(m_file))
            return Fail("cannot write " + m_file.string() + ": " + error.message());
    } else {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavcell-print-XXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            return Fail("cannot write " + pattern + ": " + std::strerror(errno));
        state->temp = pattern;
        state->file = ::fdopen(fd, "wb");
        if (state->file == nullptr) {
            ::close(fd);
            return Fail("cannot write " + pattern + ": " + std::strerror(errno));
        }
    }
    const double width = kPaperWidthInches * kPointsPerInch;
    const double height = kPaperHeightInches * kPointsPerInch;
    state->surface = cairo_pdf_surface_create_for_stream(&Surface::Write, state.get(), width, height);
    cairo_pdf_surface_set_metadata(state->surface, CAIRO_PDF_METADATA_TITLE, m_title.c_str());
    state->cr = cairo_create(state->surface);
    if (cairo_status(state->cr) != CAIRO_STATUS_SUCCESS)
        return Fail(std::string("cannot start the document: ") + cairo_status_to_string(cairo_status(state->cr)));
    m_surfaceState = std::move(state);
    return 1;
}

int PrinterDC::StartPage()
{
    if (!m_surfaceState || m_inPage)
        return Fail("no document to start a page in");
    m_inPage = true;
    m_ops.clear();
    return 1;
}

int PrinterDC::EndPage()
{
    if (!m_surfaceState || !m_inPage)
        return m_error.empty() ? Fail("no page to end") : SP_ERROR;
    DrawPage();
    m_ops.clear();
    m_inPage = false;
    cairo_show_page(m_surfaceState->cr);
    if (m_surfaceState->writeError != 0)
        return Fail("cannot write the document: " + std::string(std::strerror(m_surfaceState->writeError)));
    if (cairo_status(m_surfaceState->cr) != CAIRO_STATUS_SUCCESS)
        return Fail(std::string("cannot draw the page: ") + cairo_status_to_string(cairo_status(m_surfaceState->cr)));
    ++m_pages;
    return 1;
}

void PrinterDC::DrawPage()
{
    cairo_t* cr = m_surfaceState->cr;
    const double toPoints = kPointsPerInch / kDpi;
    const double margin = kMarginInches * kPointsPerInch;
    for (const DrawOp& op : m_ops) {
        POINT corners[2] = {{op.rect.left, op.rect.top}, {op.rect.right, op.rect.bottom}};
        LPtoDP(corners, 2);
        const double left = margin + std::min(corners[0].x, corners[1].x) * toPoints;
        const double top = margin + std::min(corners[0].y, corners[1].y) * toPoints;
        const double width = std::abs(corners[1].x - corners[0].x) * toPoints;
        const double height = std::abs(corners[1].y - corners[0].y) * toPoints;
        if (width <= 0 || height <= 0)
            continue;
        if (op.kind == DrawOp::Kind::Fill) {
            const COLORREF colour = op.brush.ColorAt(0, 0);
            cairo_set_source_rgb(cr, Red(colour), Green(colour), Blue(colour));
            cairo_rectangle(cr, left, top, width, height);
            cairo_fill(cr);
            continue;
        }
        if (op.text.empty())
            continue;
        cairo_save(cr);
        cairo_rectangle(cr, left, top, width, height);
        cairo_clip(cr);
        if (op.bkMode == OPAQUE) {
            cairo_set_source_rgb(cr, Red(op.bkColor), Green(op.bkColor), Blue(op.bkColor));
            cairo_paint(cr);
        }
        // One line of the cell model, in points: the text's size does not follow the rect,
        // which may be taller than a line.
        POINT line[2] = {{0, 0}, {0, kLineHeight}};
        LPtoDP(line, 2);
        const double lineHeight = std::abs(line[1].y - line[0].y) * toPoints;
        cairo_set_font_face(cr, JapaneseFace(op.font.lfWeight >= 700));
        cairo_set_font_size(cr, lineHeight * kEmPerLine);
        cairo_font_extents_t font;
        cairo_font_extents(cr, &font);
        cairo_text_extents_t text;
        cairo_text_extents(cr, op.text.c_str(), &text);
        double x = left;
        if (op.format & DT_RIGHT)
            x = left + width - text.x_advance;
        else if (op.format & DT_CENTER)
            x = left + (width - text.x_advance) / 2;
        const double baseline = top + (std::min(height, lineHeight) - (font.ascent + font.descent)) / 2 + font.ascent;
        cairo_set_source_rgb(cr, Red(op.textColor), Green(op.textColor), Blue(op.textColor));
        cairo_move_to(cr, x, baseline);
        cairo_show_text(cr, op.text.c_str());
        cairo_restore(cr);
    }
}

int PrinterDC::EndDoc()
{
    if (!m_surfaceState)
        return m_error.empty() ? Fail("no document to end") : SP_ERROR; // a page failed: its reason stands
    if (m_inPage && EndPage() <= 0)
        return SP_ERROR;
    Surface& state = *m_surfaceState;
    cairo_destroy(std::exchange(state.cr, nullptr));
    cairo_surface_finish(state.surface);
    const cairo_status_t status = cairo_surface_status(state.surface);
    cairo_surface_destroy(std::exchange(state.surface, nullptr));
    if (state.writeError != 0)
        return Fail("cannot write the document: " + std::string(std::strerror(state.writeError)));
    if (status != CAIRO_STATUS_SUCCESS)
        return Fail(std::string("cannot finish the document: ") + cairo_status_to_string(status));
    if (m_queue.empty()) {
        // On the disk before it takes the chosen name: a crash leaves the old file or the new one.
        if (const std::error_code error = state.document.Commit())
            return Fail("cannot write " + m_file.string() + ": " + error.message());
    } else {
        if (std::fflush(state.file) != 0 || ::fsync(::fileno(state.file)) != 0)
            return Fail("cannot write the document: " + std::string(std::strerror(errno)));
        const int closed = std::fclose(std::exchange(state.file, nullptr));
        if (closed != 0)
            return Fail("cannot write the document: " + std::string(std::strerror(errno)));
        std::string why;
        if (SubmitPrintJob(m_queue, state.temp, m_title, m_copies, &why) == 0)
            return Fail(why);
    }
    m_surfaceState.reset(); // removes what went to the queue
    return 1;
}

void PrinterDC::AbortDoc() noexcept
{
    m_surfaceState.reset();
    m_inPage = false;
    m_ops.clear();
}

} // namespace plat
