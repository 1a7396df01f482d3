// Drawing values and device contexts: fonts, bitmaps, brushes as plain values, and DCs that
// measure text with their device's measure and record what is drawn for the front end to
// replay. The screen has 96 pixels per inch unless its driver says otherwise.
#pragma once

#include "platform/ui/Constants.h"
#include "platform/ui/TextMeasure.h"
#include "platform/ui/Types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Wnd;

inline constexpr int kScreenDpi = 96;
// A bitmap pixel that an image list's mask made transparent.
inline constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

// Pen styles and the raster operation of a plain copy.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr DWORD SRCCOPY = 0x00CC0020;

// DrawText formats.
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_SINGLELINE = 0x0020;

class Font {
public:
    BOOL CreateFontIndirect(const LOGFONTA* logFont);
    // Height from a size in tenths of a point at the screen's 96 pixels per inch.
    BOOL CreatePointFont(int pointSizeTenths, std::string_view faceName);
    int GetLogFont(LOGFONTA* logFont) const;
    BOOL DeleteObject() noexcept;
    [[nodiscard]] bool IsCreated() const noexcept { return m_created; }

private:
    LOGFONTA m_logFont;
    bool m_created = false;
};

// The stock font (DEFAULT_GUI_FONT); null for other indices.
[[nodiscard]] Font* GetStockFont(int index);

// A colour bitmap, one COLORREF per pixel, rows top down.
class Bitmap {
public:
    BOOL CreateBitmap(int width, int height);
    // A monochrome bitmap from rows of bits, each row padded to 16 bits as the platform lays
    // them: a set bit is white, a clear bit black.
    BOOL CreateMonochrome(int width, int height, const void* bits);
    BOOL DeleteObject() noexcept;
    [[nodiscard]] bool IsCreated() const noexcept { return m_width > 0; }
    [[nodiscard]] SIZE GetSize() const noexcept { return {m_width, m_height}; }
    // Outside the bitmap: GetPixel answers CLR_NONE and SetPixel does nothing.
    [[nodiscard]] COLORREF GetPixel(int x, int y) const noexcept;
    void SetPixel(int x, int y, COLORREF color) noexcept;
    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    LONG m_width = 0;
    LONG m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// A solid colour or an 8 by 8 pattern that repeats across what it fills.
class Brush {
public:
    enum class Kind { None, Solid, Pattern };
    Brush() = default;
    explicit Brush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color);
    // Takes the top left 8 by 8 pixels of the bitmap (the platform's pattern size).
    BOOL CreatePatternBrush(const Bitmap& bitmap);
    BOOL DeleteObject() noexcept;
    [[nodiscard]] Kind GetKind() const noexcept { return m_kind; }
    [[nodiscard]] bool IsCreated() const noexcept { return m_kind != Kind::None; }
    // The colour the brush gives the pixel at (x, y) of a filled area.
    [[nodiscard]] COLORREF ColorAt(int x, int y) const noexcept;
    friend bool operator==(const Brush&, const Brush&) = default;

private:
    Kind m_kind = Kind::None;
    COLORREF m_color = 0;
    COLORREF m_pattern[8][8] = {};
};

// The style, width and colour lines are drawn with.
class Pen {
public:
    Pen() = default;
    Pen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color);
    [[nodiscard]] int GetStyle() const noexcept { return m_style; }
    [[nodiscard]] int GetWidth() const noexcept { return m_width; }
    [[nodiscard]] COLORREF GetColor() const noexcept { return m_color; }
    friend bool operator==(const Pen&, const Pen&) = default;

private:
    int m_style = PS_SOLID;
    int m_width = 1;
    COLORREF m_color = 0;
};

// One drawing step, recorded for whichever device shows it: the screen's front end or paper.
struct DrawOp {
    enum class Kind { Text, Fill, Line, FocusRect, Bitmap };
    Kind kind = Kind::Text;
    RECT rect;            // where, in the DC's coordinates; Line: from (left, top) to (right, bottom)
    std::string text;     // Text
    UINT format = 0;      // Text: DT_* alignment
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    int bkMode = OPAQUE;
    LOGFONTA font;        // Text: the font selected
    Brush brush;          // Fill
    Pen pen;              // Line
    std::shared_ptr<const Bitmap> bitmap; // Bitmap: its top left at the rect's, cut to the rect
};

// What replays a drawing list: the terminal's cell renderer, a printer, a pixel front end. Each
// step comes in the coordinates it was recorded in.
class DrawingConsumer {
public:
    virtual ~DrawingConsumer() = default;
    virtual void OnText(const DrawOp& op) = 0;
    virtual void OnFill(const DrawOp& op) = 0;
    virtual void OnLine(const DrawOp& op) = 0;
    virtual void OnFocusRect(const DrawOp& op) = 0;
    virtual void OnBitmap(const DrawOp& op) = 0;
};

// Hands every step to the consumer, in order.
void Replay(const std::vector<DrawOp>& ops, DrawingConsumer& consumer);

inline constexpr short DMORIENT_PORTRAIT = 1;
inline constexpr short DMORIENT_LANDSCAPE = 2;

// How a printer is to lay its paper.
struct DEVMODE {
    short dmOrientation = DMORIENT_PORTRAIT;
};

class DC {
public:
    DC();
    virtual ~DC() = default;
    DC(const DC&) = delete;
    DC& operator=(const DC&) = delete;

    // A memory DC; its drawing goes into the bitmap selected into it.
    BOOL CreateCompatibleDC(DC* other);

    Font* SelectObject(Font* font);
    Bitmap* SelectObject(Bitmap* bitmap);
    Brush* SelectObject(Brush* brush);
    Pen* SelectObject(Pen* pen);
    [[nodiscard]] Font* GetCurrentFont() const noexcept { return m_font; }
    [[nodiscard]] Bitmap* GetCurrentBitmap() const noexcept { return m_bitmap; }

    COLORREF SetTextColor(COLORREF color) noexcept;
    [[nodiscard]] COLORREF GetTextColor() const noexcept { return m_textColor; }
    COLORREF SetBkColor(COLORREF color) noexcept;
    [[nodiscard]] COLORREF GetBkColor() const noexcept { return m_bkColor; }
    int SetBkMode(int mode) noexcept;

    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;
    [[nodiscard]] SIZE GetTextExtent(std::string_view text) const;
    // How text measures on this DC's device: the screen's driver's, a printer's own.
    [[nodiscard]] virtual const TextMeasure& GetMeasure() const { return GetTextMeasure(); }
    // The logical font selected, or the default one.
    [[nodiscard]] LOGFONTA GetLogFont() const;
    [[nodiscard]] int GetDeviceCaps(int index) const;
    // Logical units: pixels (MM_TEXT, the default) or a fixed length, a hundredth of an inch
    // for MM_LOENGLISH, with the y axis pointing up. Returns the previous mode (0: unknown).
    int SetMapMode(int mode) noexcept;
    [[nodiscard]] int GetMapMode() const noexcept { return m_mapMode; }
    // Between logical and device units, at the device's resolution; rounded to the nearest.
    void LPtoDP(POINT* points, int count = 1) const noexcept;
    void DPtoLP(POINT* points, int count = 1) const noexcept;
    // With MM_ANISOTROPIC, window extent logical units span viewport extent device units (a
    // negative extent turns its axis); in other modes they are kept for later and FALSE.
    BOOL SetWindowExt(int cx, int cy) noexcept;
    BOOL SetViewportExt(int cx, int cy) noexcept;

    // Pages of a printed document; a DC that is not a printer's has one endless page.
    virtual int StartPage() { return 1; }
    virtual int EndPage() { return 1; }
    // Turns a printer's paper for the pages still to start; a DC without paper cannot.
    virtual BOOL ResetDC(const DEVMODE& mode)
    {
        (void)mode;
        return FALSE;
    }

    BOOL TextOut(int x, int y, std::string_view text);
    int DrawText(std::string_view text, const RECT& rect, UINT format);
    void FillRect(const RECT& rect, const Brush* brush);
    void FillSolidRect(const RECT& rect, COLORREF color);
    // Lines with the pen selected (a thin black one when none is), from the current position.
    POINT MoveTo(int x, int y) noexcept;
    BOOL LineTo(int x, int y);
    // The dotted outline that shows where the keyboard focus is.
    void DrawFocusRect(const RECT& rect);
    // Copies part of the bitmap selected into a memory DC (SRCCOPY only).
    BOOL BitBlt(int x, int y, int width, int height, const DC* source, int sourceX, int sourceY, DWORD rop);
    COLORREF SetPixel(int x, int y, COLORREF color);
    [[nodiscard]] COLORREF GetPixel(int x, int y) const;

    [[nodiscard]] const std::vector<DrawOp>& GetOps() const noexcept { return m_ops; }

protected:
    std::vector<DrawOp> m_ops;
    SIZE m_surface{640, 400};
    int m_dpi = kScreenDpi; // device pixels per inch

private:
    // Logical units per inch of the mapping mode (0: one per device pixel); y upwards.
    [[nodiscard]] int UnitsPerInch() const noexcept;
    int m_mapMode = MM_TEXT;
    SIZE m_windowExt{1, 1};
    SIZE m_viewportExt{1, 1};

    Font* m_font = nullptr;
    Bitmap* m_bitmap = nullptr;
    Brush* m_brush = nullptr;
    Pen* m_pen = nullptr;
    POINT m_position;
    bool m_memory = false;
    COLORREF m_textColor = 0;
    COLORREF m_bkColor = 0xFFFFFF;
    int m_bkMode = OPAQUE;
};

// A DC on a window's client area; what it drew joins the window's drawing when released.
class ClientDC : public DC {
public:
    explicit ClientDC(Wnd* wnd);
    ~ClientDC() override;

protected:
    Wnd* m_wnd;
    bool m_replace = false;
};

// The DC of WM_PAINT: it validates the window and its drawing replaces the window's record.
class PaintDC : public ClientDC {
public:
    explicit PaintDC(Wnd* wnd);
};

} // namespace plat
