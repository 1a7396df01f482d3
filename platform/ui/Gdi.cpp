// Fonts, bitmaps, brushes and device contexts that measure with their device's measure.
#include "platform/ui/Gdi.h"

#include "platform/ui/App.h"
#include "platform/ui/Wnd.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace plat {

// ---- Font ----

BOOL Font::CreateFontIndirect(const LOGFONTA* logFont)
{
    if (!logFont)
        return FALSE;
    m_logFont = *logFont;
    m_created = true;
    return TRUE;
}

BOOL Font::CreatePointFont(int pointSizeTenths, std::string_view faceName)
{
    LOGFONTA logFont;
    // Rounded as the platform converts points to pixels (MulDiv).
    logFont.lfHeight = -((pointSizeTenths * kScreenDpi + 360) / 720);
    logFont.lfWeight = 400;
    logFont.lfCharSet = 128;
    const std::size_t length = std::min(faceName.size(), static_cast<std::size_t>(LF_FACESIZE - 1));
    std::memcpy(logFont.lfFaceName, faceName.data(), length);
    return CreateFontIndirect(&logFont);
}

int Font::GetLogFont(LOGFONTA* logFont) const
{
    if (!m_created || !logFont)
        return 0;
    *logFont = m_logFont;
    return sizeof(LOGFONTA);
}

BOOL Font::DeleteObject() noexcept
{
    const bool was = m_created;
    m_created = false;
    m_logFont = LOGFONTA{};
    return was;
}

Font* GetStockFont(int index)
{
    if (index != DEFAULT_GUI_FONT)
        return nullptr;
    static const LOGFONTA library = [] {
        LOGFONTA logFont;
        logFont.lfHeight = -12;
        logFont.lfWeight = 400;
        logFont.lfCharSet = 128;
        const char face[] = "ＭＳ Ｐゴシック";
        std::memcpy(logFont.lfFaceName, face, sizeof face);
        return logFont;
    }();
    // The desktop's own font where the front end has one, else the library's; the object
    // stays the same, so that windows holding it follow a change of driver.
    static Font font;
    const WinApp* app = GetApp();
    const std::optional<LOGFONTA> desktop = app && app->GetDriver() ? app->GetDriver()->DesktopGuiFont() : std::nullopt;
    const LOGFONTA& wanted = desktop ? *desktop : library;
    LOGFONTA current;
    if (!font.GetLogFont(&current) || std::memcmp(&current, &wanted, sizeof wanted) != 0) {
        font.DeleteObject();
        font.CreateFontIndirect(&wanted);
    }
    return &font;
}

// ---- Bitmap ----

BOOL Bitmap::CreateBitmap(int width, int height)
{
    if (width <= 0 || height <= 0 || width > 0x4000 || height > 0x4000)
        return FALSE;
    m_width = width;
    m_height = height;
    m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return TRUE;
}

BOOL Bitmap::CreateMonochrome(int width, int height, const void* bits)
{
    if (!bits || !CreateBitmap(width, height))
        return FALSE;
    const auto* bytes = static_cast<const BYTE*>(bits);
    const int stride = (width + 15) / 16 * 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool set = (bytes[y * stride + x / 8] >> (7 - x % 8)) & 1;
            SetPixel(x, y, set ? RGB(255, 255, 255) : RGB(0, 0, 0));
        }
    return TRUE;
}

BOOL Bitmap::DeleteObject() noexcept
{
    const bool was = IsCreated();
    m_width = m_height = 0;
    m_pixels.clear();
    return was;
}

COLORREF Bitmap::GetPixel(int x, int y) const noexcept
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_NONE;
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void Bitmap::SetPixel(int x, int y, COLORREF color) noexcept
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] = color;
}

// ---- Brush ----

BOOL Brush::CreateSolidBrush(COLORREF color)
{
    m_kind = Kind::Solid;
    m_color = color;
    return TRUE;
}

BOOL Brush::CreatePatternBrush(const Bitmap& bitmap)
{
    const SIZE size = bitmap.GetSize();
    if (size.cx < 8 || size.cy < 8)
        return FALSE;
    m_kind = Kind::Pattern;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            m_pattern[y][x] = bitmap.GetPixel(x, y);
    return TRUE;
}

BOOL Brush::DeleteObject() noexcept
{
    const bool was = IsCreated();
    *this = Brush();
    return was;
}

COLORREF Brush::ColorAt(int x, int y) const noexcept
{
    switch (m_kind) {
    case Kind::Solid:
        return m_color;
    case Kind::Pattern:
        return m_pattern[((y % 8) + 8) % 8][((x % 8) + 8) % 8];
    case Kind::None:
        break;
    }
    return CLR_NONE;
}

// ---- Pen ----

BOOL Pen::CreatePen(int style, int width, COLORREF color)
{
    m_style = style;
    m_width = std::max(1, width);
    m_color = color;
    return TRUE;
}

// ---- drawing lists ----

void Replay(const std::vector<DrawOp>& ops, DrawingConsumer& consumer)
{
    for (const DrawOp& op : ops)
        switch (op.kind) {
        case DrawOp::Kind::Text: consumer.OnText(op); break;
        case DrawOp::Kind::Fill: consumer.OnFill(op); break;
        case DrawOp::Kind::Line: consumer.OnLine(op); break;
        case DrawOp::Kind::FocusRect: consumer.OnFocusRect(op); break;
        case DrawOp::Kind::Bitmap: consumer.OnBitmap(op); break;
        }
}

// ---- DC ----

DC::DC()
{
    if (Driver* driver = GetApp() ? GetApp()->GetDriver() : nullptr) {
        m_surface = driver->ScreenSize();
        m_dpi = driver->LogPixels();
    }
}

BOOL DC::CreateCompatibleDC(DC*)
{
    m_memory = true;
    return TRUE;
}

Font* DC::SelectObject(Font* font)
{
    Font* old = m_font;
    m_font = font;
    return old;
}

Bitmap* DC::SelectObject(Bitmap* bitmap)
{
    Bitmap* old = m_bitmap;
    m_bitmap = bitmap;
    return old;
}

Brush* DC::SelectObject(Brush* brush)
{
    Brush* old = m_brush;
    m_brush = brush;
    return old;
}

Pen* DC::SelectObject(Pen* pen)
{
    Pen* old = m_pen;
    m_pen = pen;
    return old;
}

COLORREF DC::SetTextColor(COLORREF color) noexcept { return std::exchange(m_textColor, color); }
COLORREF DC::SetBkColor(COLORREF color) noexcept { return std::exchange(m_bkColor, color); }
int DC::SetBkMode(int mode) noexcept { return std::exchange(m_bkMode, mode); }

LOGFONTA DC::GetLogFont() const
{
    LOGFONTA logFont;
    if (!m_font || !m_font->GetLogFont(&logFont))
        return DefaultLogFont();
    return logFont;
}

BOOL DC::GetTextMetrics(TEXTMETRIC* metrics) const
{
    if (!metrics)
        return FALSE;
    const LOGFONTA logFont = GetLogFont();
    const FontMetrics measured = GetMeasure().Metrics(logFont);
    *metrics = TEXTMETRIC{};
    metrics->tmHeight = measured.height;
    metrics->tmAscent = measured.ascent;
    metrics->tmDescent = measured.height - measured.ascent;
    metrics->tmAveCharWidth = measured.averageWidth;
    metrics->tmMaxCharWidth = measured.maxWidth;
    metrics->tmWeight = logFont.lfWeight ? logFont.lfWeight : 400;
    metrics->tmDigitizedAspectX = kScreenDpi;
    metrics->tmDigitizedAspectY = kScreenDpi;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFC;
    metrics->tmDefaultChar = 0x81;
    metrics->tmBreakChar = 0x20;
    metrics->tmItalic = logFont.lfItalic;
    metrics->tmUnderlined = logFont.lfUnderline;
    metrics->tmCharSet = 128;
    return TRUE;
}

SIZE DC::GetTextExtent(std::string_view text) const
{
    const LOGFONTA logFont = GetLogFont();
    const TextMeasure& measure = GetMeasure();
    return {measure.Width(logFont, text), measure.LineHeight(logFont)};
}

int DC::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return m_dpi;
    case HORZRES:
        return m_bitmap ? m_bitmap->GetSize().cx : m_surface.cx;
    case VERTRES:
        return m_bitmap ? m_bitmap->GetSize().cy : m_surface.cy;
    default:
        return 0;
    }
}

int DC::SetMapMode(int mode) noexcept
{
    if ((mode < MM_TEXT || mode > MM_TWIPS) && mode != MM_ANISOTROPIC)
        return 0;
    return std::exchange(m_mapMode, mode);
}

int DC::UnitsPerInch() const noexcept
{
    switch (m_mapMode) {
    case MM_LOMETRIC: return 254; // tenths of a millimetre
    case MM_HIMETRIC: return 2540;
    case MM_LOENGLISH: return 100;
    case MM_HIENGLISH: return 1000;
    case MM_TWIPS: return 1440;
    default: return 0;
    }
}

namespace {

// value * numerator / denominator, rounded half away from zero.
LONG Scale(LONG value, long long numerator, long long denominator) noexcept
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<LONG>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

} // namespace

BOOL DC::SetWindowExt(int cx, int cy) noexcept
{
    if (cx == 0 || cy == 0)
        return FALSE;
    m_windowExt = SIZE{cx, cy};
    return m_mapMode == MM_ANISOTROPIC;
}

BOOL DC::SetViewportExt(int cx, int cy) noexcept
{
    if (cx == 0 || cy == 0)
        return FALSE;
    m_viewportExt = SIZE{cx, cy};
    return m_mapMode == MM_ANISOTROPIC;
}

void DC::LPtoDP(POINT* points, int count) const noexcept
{
    if (points == nullptr)
        return;
    if (m_mapMode == MM_ANISOTROPIC) {
        for (int i = 0; i < count; ++i) {
            points[i].x = Scale(points[i].x, m_viewportExt.cx, m_windowExt.cx);
            points[i].y = Scale(points[i].y, m_viewportExt.cy, m_windowExt.cy);
        }
        return;
    }
    const int units = UnitsPerInch();
    if (units == 0)
        return;
    for (int i = 0; i < count; ++i) {
        points[i].x = Scale(points[i].x, m_dpi, units);
        points[i].y = Scale(-points[i].y, m_dpi, units);
    }
}

void DC::DPtoLP(POINT* points, int count) const noexcept
{
    if (points == nullptr)
        return;
    if (m_mapMode == MM_ANISOTROPIC) {
        for (int i = 0; i < count; ++i) {
            points[i].x = Scale(points[i].x, m_windowExt.cx, m_viewportExt.cx);
            points[i].y = Scale(points[i].y, m_windowExt.cy, m_viewportExt.cy);
        }
        return;
    }
    const int units = UnitsPerInch();
    if (units == 0)
        return;
    for (int i = 0; i < count; ++i) {
        points[i].x = Scale(points[i].x, units, m_dpi);
        points[i].y = -Scale(points[i].y, units, m_dpi);
    }
}

BOOL DC::TextOut(int x, int y, std::string_view text)
{
    const SIZE extent = GetTextExtent(text);
    DrawText(text, RECT{x, y, x + extent.cx, y + extent.cy}, DT_LEFT | DT_SINGLELINE);
    return TRUE;
}

int DC::DrawText(std::string_view text, const RECT& rect, UINT format)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.rect = rect;
    op.text = std::string(text);
    op.format = format;
    op.textColor = m_textColor;
    op.bkColor = m_bkColor;
    op.bkMode = m_bkMode;
    if (m_font)
        m_font->GetLogFont(&op.font);
    const int height = GetMeasure().LineHeight(GetLogFont());
    m_ops.push_back(std::move(op));
    return height;
}

void DC::FillRect(const RECT& rect, const Brush* brush)
{
    if (!brush || !brush->IsCreated())
        return;
    if (m_memory) {
        if (m_bitmap)
            for (int y = rect.top; y < rect.bottom; ++y)
                for (int x = rect.left; x < rect.right; ++x)
                    m_bitmap->SetPixel(x, y, brush->ColorAt(x, y));
        return;
    }
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.rect = rect;
    op.brush = *brush;
    m_ops.push_back(std::move(op));
}

void DC::FillSolidRect(const RECT& rect, COLORREF color)
{
    const Brush brush(color);
    FillRect(rect, &brush);
}

POINT DC::MoveTo(int x, int y) noexcept { return std::exchange(m_position, POINT{x, y}); }

BOOL DC::LineTo(int x, int y)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Line;
    op.rect = RECT{m_position.x, m_position.y, x, y};
    if (m_pen)
        op.pen = *m_pen;
    m_ops.push_back(std::move(op));
    m_position = POINT{x, y};
    return TRUE;
}

void DC::DrawFocusRect(const RECT& rect)
{
    DrawOp op;
    op.kind = DrawOp::Kind::FocusRect;
    op.rect = rect;
    m_ops.push_back(std::move(op));
}

BOOL DC::BitBlt(int x, int y, int width, int height, const DC* source, int sourceX, int sourceY, DWORD rop)
{
    if (!source || !source->m_bitmap || rop != SRCCOPY || width <= 0 || height <= 0)
        return FALSE;
    auto copy = std::make_shared<Bitmap>();
    if (!copy->CreateBitmap(width, height))
        return FALSE;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            copy->SetPixel(column, row, source->m_bitmap->GetPixel(sourceX + column, sourceY + row));
    if (m_memory) {
        if (m_bitmap)
            for (int row = 0; row < height; ++row)
                for (int column = 0; column < width; ++column)
                    if (const COLORREF color = copy->GetPixel(column, row); color != CLR_NONE)
                        m_bitmap->SetPixel(x + column, y + row, color);
        return TRUE;
    }
    DrawOp op;
    op.kind = DrawOp::Kind::Bitmap;
    op.rect = RECT{x, y, x + width, y + height};
    op.bitmap = std::move(copy);
    m_ops.push_back(std::move(op));
    return TRUE;
}

COLORREF DC::SetPixel(int x, int y, COLORREF color)
{
    if (m_bitmap) {
        m_bitmap->SetPixel(x, y, color);
        return m_bitmap->GetPixel(x, y);
    }
    FillSolidRect(RECT{x, y, x + 1, y + 1}, color);
    return color;
}

COLORREF DC::GetPixel(int x, int y) const { return m_bitmap ? m_bitmap->GetPixel(x, y) : CLR_NONE; }

ClientDC::ClientDC(Wnd* wnd) : m_wnd(wnd)
{
    if (m_wnd) {
        RECT client;
        m_wnd->GetClientRect(&client);
        m_surface = SIZE{client.Width(), client.Height()};
        SelectObject(m_wnd->GetFont());
    }
}

ClientDC::~ClientDC()
{
    if (IsWindow(m_wnd))
        m_wnd->AppendDrawing(m_ops, m_replace);
}

PaintDC::PaintDC(Wnd* wnd) : ClientDC(wnd)
{
    m_replace = true;
    if (IsWindow(m_wnd))
        m_wnd->ValidateRect();
}

} // namespace plat
