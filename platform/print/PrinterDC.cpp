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
#include <cstdint>
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

BOOL PrinterDC::ResetDC(const DEVMODE& mode)
{
    if (m_inPage || (mode.dmOrientation != DMORIENT_PORTRAIT && mode.dmOrientation != DMORIENT_LANDSCAPE))
        return FALSE;
    const bool landscape = mode.dmOrientation == DMORIENT_LANDSCAPE;
    if (landscape != m_landscape)
        std::swap(m_surface.cx, m_surface.cy);
    m_landscape = landscape;
    return TRUE;
}

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
        std::filesystem::path temporary;
        static_cast<void>(GetTemporaryFolder(temporary));
        std::string pattern = (temporary / "tavcell-print-XXXXXX").string();
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

namespace {

// A page's drawing list in cairo, in points: logical units mapped to the printer's pixels by
// the DC, then to points inside the margin.
class CairoReplay final : public DrawingConsumer {
public:
    CairoReplay(cairo_t* cr, const DC& dc) : m_cr(cr), m_dc(dc) {}

    void OnFill(const DrawOp& op) override
    {
        const Area area = Place(op.rect);
        if (area.empty || !op.brush.IsCreated())
            return;
        if (op.brush.GetKind() == Brush::Kind::Pattern) {
            // The 8 x 8 pattern repeats at the printer's pixels, as it would on a screen.
            cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 8, 8);
            unsigned char* data = cairo_image_surface_get_data(tile);
            const int stride = cairo_image_surface_get_stride(tile);
            cairo_surface_flush(tile);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const COLORREF c = op.brush.ColorAt(x, y);
                    auto* pixel = reinterpret_cast<std::uint32_t*>(data + y * stride) + x;
                    *pixel = (static_cast<std::uint32_t>(c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
                }
            cairo_surface_mark_dirty(tile);
            cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
            cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
            // One pattern pixel to a logical unit, the pattern anchored at the page's origin.
            POINT unit[2] = {{0, 0}, {8, 8}};
            m_dc.LPtoDP(unit, 2);
            const double pointsPerUnit = std::max<LONG>(1, std::abs(unit[1].x - unit[0].x)) * kToPoints / 8;
            cairo_matrix_t toPattern;
            cairo_matrix_init_scale(&toPattern, 1 / pointsPerUnit, 1 / pointsPerUnit);
            cairo_matrix_translate(&toPattern, -kMargin, -kMargin);
            cairo_pattern_set_matrix(pattern, &toPattern);
            cairo_set_source(m_cr, pattern);
            cairo_rectangle(m_cr, area.left, area.top, area.width, area.height);
            cairo_fill(m_cr);
            cairo_pattern_destroy(pattern);
            cairo_surface_destroy(tile);
            return;
        }
        SetColour(op.brush.ColorAt(0, 0));
        cairo_rectangle(m_cr, area.left, area.top, area.width, area.height);
        cairo_fill(m_cr);
    }

    void OnText(const DrawOp& op) override
    {
        const Area area = Place(op.rect);
        if (area.empty || op.text.empty())
            return;
        cairo_save(m_cr);
        cairo_rectangle(m_cr, area.left, area.top, area.width, area.height);
        cairo_clip(m_cr);
        if (op.bkMode == OPAQUE) {
            SetColour(op.bkColor);
            cairo_paint(m_cr);
        }
        // One line of the font, in points: the text's size does not follow the rect, which may
        // be taller than a line.
        POINT line[2] = {{0, 0}, {0, m_dc.GetMeasure().LineHeight(op.font)}};
        m_dc.LPtoDP(line, 2);
        const double lineHeight = std::abs(line[1].y - line[0].y) * kToPoints;
        cairo_set_font_face(m_cr, JapaneseFace(op.font.lfWeight >= 700));
        cairo_set_font_size(m_cr, lineHeight * kEmPerLine);
        cairo_font_extents_t font;
        cairo_font_extents(m_cr, &font);
        cairo_text_extents_t text;
        cairo_text_extents(m_cr, op.text.c_str(), &text);
        double x = area.left;
        if (op.format & DT_RIGHT)
            x = area.left + area.width - text.x_advance;
        else if (op.format & DT_CENTER)
            x = area.left + (area.width - text.x_advance) / 2;
        const double baseline = area.top + (std::min(area.height, lineHeight) - (font.ascent + font.descent)) / 2 + font.ascent;
        SetColour(op.textColor);
        cairo_move_to(m_cr, x, baseline);
        cairo_show_text(m_cr, op.text.c_str());
        cairo_restore(m_cr);
    }

    void OnLine(const DrawOp& op) override
    {
        POINT ends[2] = {{op.rect.left, op.rect.top}, {op.rect.right, op.rect.bottom}};
        m_dc.LPtoDP(ends, 2);
        cairo_save(m_cr);
        SetColour(op.pen.GetColor());
        cairo_set_line_width(m_cr, std::max(1, op.pen.GetWidth()) * kToPoints);
        if (op.pen.GetStyle() != PS_SOLID) {
            const double dash = (op.pen.GetStyle() == PS_DOT ? 1.0 : 3.0) * kPointsPerInch / 96.0;
            cairo_set_dash(m_cr, &dash, 1, 0);
        }
        cairo_move_to(m_cr, kMargin + ends[0].x * kToPoints, kMargin + ends[0].y * kToPoints);
        cairo_line_to(m_cr, kMargin + ends[1].x * kToPoints, kMargin + ends[1].y * kToPoints);
        cairo_stroke(m_cr);
        cairo_restore(m_cr);
    }

    void OnFocusRect(const DrawOp&) override {} // paper has no keyboard focus

    void OnBitmap(const DrawOp& op) override
    {
        const Area area = Place(op.rect);
        if (area.empty || !op.bitmap)
            return;
        const SIZE size = op.bitmap->GetSize();
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.cx, size.cy);
        unsigned char* data = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        cairo_surface_flush(image);
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
                const COLORREF c = op.bitmap->GetPixel(x, y);
                auto* pixel = reinterpret_cast<std::uint32_t*>(data + y * stride) + x;
                *pixel = c == CLR_NONE ? 0u
                                       : 0xFF000000u | (static_cast<std::uint32_t>(c & 0xFF) << 16) | (c & 0xFF00) |
                                             ((c >> 16) & 0xFF);
            }
        cairo_surface_mark_dirty(image);
        cairo_save(m_cr);
        cairo_rectangle(m_cr, area.left, area.top, area.width, area.height);
        cairo_clip(m_cr);
        cairo_translate(m_cr, area.left, area.top);
        cairo_scale(m_cr, area.width / std::max<LONG>(1, op.rect.right - op.rect.left) * 1.0,
                    area.height / std::max<LONG>(1, std::abs(op.rect.bottom - op.rect.top)) * 1.0);
        cairo_set_source_surface(m_cr, image, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(m_cr), CAIRO_FILTER_NEAREST);
        cairo_paint(m_cr);
        cairo_restore(m_cr);
        cairo_surface_destroy(image);
    }

private:
    struct Area {
        double left;
        double top;
        double width;
        double height;
        bool empty;
    };
    Area Place(const RECT& rect) const
    {
        POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
        m_dc.LPtoDP(corners, 2);
        const double width = std::abs(corners[1].x - corners[0].x) * kToPoints;
        const double height = std::abs(corners[1].y - corners[0].y) * kToPoints;
        return Area{kMargin + std::min(corners[0].x, corners[1].x) * kToPoints,
                    kMargin + std::min(corners[0].y, corners[1].y) * kToPoints, width, height, width <= 0 || height <= 0};
    }
    void SetColour(COLORREF c) { cairo_set_source_rgb(m_cr, Red(c), Green(c), Blue(c)); }

    static constexpr double kToPoints = kPointsPerInch / PrinterDC::kDpi;
    static constexpr double kMargin = kMarginInches * kPointsPerInch;

    cairo_t* m_cr;
    const DC& m_dc;
};

} // namespace

void PrinterDC::DrawPage()
{
    // The page's size is set before anything is drawn on it, so each page keeps the way
    // the paper lay when it was drawn.
    const double width = kPaperWidthInches * kPointsPerInch;
    const double height = kPaperHeightInches * kPointsPerInch;
    cairo_pdf_surface_set_size(m_surfaceState->surface, m_landscape ? height : width, m_landscape ? width : height);
    CairoReplay replay(m_surfaceState->cr, *this);
    Replay(m_ops, replay);
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
