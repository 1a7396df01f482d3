// The grid window painted on the screen and printed page by page.
#include "components/mox/MoxCellCtrl.h"

#include "components/mox/MoxCellCtrlDetail.h"
#include "components/mox/MoxData.h"
#include "platform/text/DisplayWidth.h"

#include <algorithm>
#include <cmath>

using namespace mox_detail;

namespace {

constexpr unsigned kTextFormatMask = plat::DT_CENTER | plat::DT_RIGHT | plat::DT_VCENTER | plat::DT_SINGLELINE;
constexpr plat::COLORREF kRuleColor = plat::RGB(176, 176, 176);

} // namespace

int MoxCellCtrl::LineHeight() const { return plat::GetTextMeasure().LineHeight(CellLogFont()); }

int MoxCellCtrl::CharWidth() const { return plat::GetTextMeasure().AverageWidth(CellLogFont()); }

plat::LOGFONTA MoxCellCtrl::CellLogFont() const
{
    plat::LOGFONTA logFont;
    if (!m_font.GetLogFont(&logFont))
        return plat::DefaultLogFont();
    return logFont;
}

plat::LRESULT MoxCellCtrl::OnPaint(plat::WPARAM, plat::LPARAM)
{
    plat::PaintDC dc(this);
    OnDraw(&dc);
    return 0;
}

void MoxCellCtrl::DrawClippedText(plat::DC* dc, const std::string& text, const plat::RECT& rect, unsigned format)
{
    if (text.empty() || rect.IsEmpty())
        return;
    // Cut at a character boundary to what the cell can show; never into the next cell.
    const std::size_t fits = dc->GetMeasure().Fit(dc->GetLogFont(), text, rect.Width());
    if (fits == 0)
        return;
    dc->DrawText(std::string_view(text).substr(0, fits), rect, format & kTextFormatMask);
}

void MoxCellCtrl::DrawHeadings(plat::DC* dc, const std::vector<long>& columns, const std::vector<int>& lefts)
{
    plat::RECT client;
    GetClientRect(&client);
    dc->SetTextColor(kPalette[MOXC_HEADINGTEXT]);
    const plat::RECT corner{0, 0, m_fixedColWidth, HeadingHeight()};
    dc->FillSolidRect(plat::RECT{0, 0, client.right, HeadingHeight()}, kPalette[MOXC_HEADING]);
    MoxPos pos{0, 0};
    m_text.clear();
    if (Notify(MOXN_FIXEDCELLTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
        DrawClippedText(dc, m_text, corner, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    for (int heading = 0; heading < m_fixedRows; ++heading) {
        const int top = heading * LineHeight();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Column& column = m_columns[static_cast<std::size_t>(columns[i])];
            const plat::RECT rect{lefts[i] + column.marginLeft, top,
                                  std::min(lefts[i] + column.width, static_cast<int>(client.right)) - column.marginRight, top + LineHeight()};
            pos = MoxPos{static_cast<std::int32_t>(columns[i]), heading};
            m_text.clear();
            if (Notify(MOXN_FIXEDROWTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
                DrawClippedText(dc, m_text, rect, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
        }
    }
}

void MoxCellCtrl::DrawCell(plat::DC* dc, const MoxPos& pos, const plat::RECT& rect)
{
    const Column& column = m_columns[static_cast<std::size_t>(pos.column)];
    dc->SetTextColor(kPalette[MOXC_TEXT]);
    dc->SetBkColor(kPalette[MOXC_WINDOW]);
    MoxPos asked = pos;
    auto* brush = reinterpret_cast<plat::Brush*>(
        Notify(MOXN_CTLCOLOR, reinterpret_cast<plat::WPARAM>(&asked), reinterpret_cast<plat::LPARAM>(dc)));
    if (brush != nullptr)
        dc->FillRect(rect, brush);
    std::uint8_t flags = 0;
    if (pos == m_caret) {
        dc->FillSolidRect(rect, kPalette[MOXC_CARET]);
        dc->SetTextColor(kPalette[MOXC_TEXT]);
    } else if (IsSelected(pos, &flags)) {
        // Marked lines and found cells look different from a plain selection.
        int colour = MOXC_SELECTION;
        if (m_searchMark)
            colour = MOXC_SEARCH;
        else if (m_lineMark && (flags & MoxRectArray::kWholeLines))
            colour = MOXC_LINEMARK;
        dc->FillSolidRect(rect, kPalette[colour]);
        dc->SetTextColor(colour == MOXC_SEARCH ? kPalette[MOXC_TEXT] : kPalette[MOXC_SELECTIONTEXT]);
    }
    if (m_editor != nullptr && pos == m_editPos)
        return; // the editor shows the cell
    if (column.ownerDraw) {
        MOX_DRAWITEMSTRUCT item;
        item.column = pos.column;
        item.row = pos.row;
        item.dc = dc;
        item.rect = rect;
        Notify(MOXN_DRAWITEM, reinterpret_cast<plat::WPARAM>(&item), 0);
        return;
    }
    m_text.clear();
    if (!m_data->OnGetText(ItemOf(pos.column), pos.row, m_text))
        return;
    const plat::RECT inner{rect.left + column.marginLeft, rect.top, rect.right - column.marginRight, rect.bottom};
    DrawClippedText(dc, m_text, inner, column.align);
}

void MoxCellCtrl::OnDraw(plat::DC* dc)
{
    plat::RECT client;
    GetClientRect(&client);
    plat::Font* oldFont = dc->SelectObject(&m_font);
    const int oldMode = dc->SetBkMode(plat::TRANSPARENT);
    dc->FillSolidRect(client, kPalette[MOXC_WINDOW]);
    if (m_data == nullptr) {
        dc->SelectObject(oldFont);
        dc->SetBkMode(oldMode);
        return;
    }
    ClampScroll();
    std::vector<long> columns;
    std::vector<int> lefts;
    for (long c = m_leftCol, x = m_fixedColWidth; c < GetColumnCount() && x < client.right; ++c) {
        columns.push_back(c);
        lefts.push_back(static_cast<int>(x));
        x += m_columns[static_cast<std::size_t>(c)].width;
    }
    DrawHeadings(dc, columns, lefts);
    const long lastRow = std::min(GetRowCount(), m_topRow + GetVisibleRowCount());
    for (long row = m_topRow; row < lastRow; ++row) {
        const int top = HeadingHeight() + static_cast<int>(row - m_topRow) * LineHeight();
        const plat::RECT number{0, top, m_fixedColWidth, top + LineHeight()};
        dc->FillSolidRect(number, kPalette[MOXC_HEADING]);
        dc->SetTextColor(kPalette[MOXC_HEADINGTEXT]);
        MoxPos pos{0, static_cast<std::int32_t>(row)};
        m_text.clear();
        if (Notify(MOXN_FIXEDCOLTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
            DrawClippedText(dc, m_text, plat::RECT{number.left, top, number.right - 2, top + LineHeight()},
                            plat::DT_RIGHT | plat::DT_VCENTER | plat::DT_SINGLELINE);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int right = std::min(lefts[i] + m_columns[static_cast<std::size_t>(columns[i])].width, static_cast<int>(client.right));
            DrawCell(dc, MoxPos{static_cast<std::int32_t>(columns[i]), static_cast<std::int32_t>(row)},
                     plat::RECT{lefts[i], top, right, top + LineHeight()});
        }
    }
    DrawRules(dc, columns, lefts, lastRow);
    dc->SelectObject(oldFont);
    dc->SetBkMode(oldMode);
}

void MoxCellCtrl::FitPrintedWidth(plat::DC& dc)
{
    long tableWidth = m_fixedColWidth;
    for (const Column& column : m_columns)
        tableWidth += std::max(0, column.width);
    // Device units per thousand logical ones as the caller mapped them, and the page's width
    // in logical units, upright or turned.
    plat::POINT unit{1000, 1000};
    dc.LPtoDP(&unit);
    const auto pageWidth = [&dc, &unit] { return 1000.0 * dc.GetDeviceCaps(plat::HORZRES) / std::max<plat::LONG>(1, std::abs(unit.x)); };
    // The smallest text still read without strain: a printed line of eight points.
    const int dpi = std::max(1, dc.GetDeviceCaps(plat::LOGPIXELSY));
    const double linePoints = LineHeight() * std::abs(unit.y) / 1000.0 / dpi * 72.0;
    const double smallest = std::min(1.0, kSmallestPrintedLinePoints / std::max(1.0, linePoints));

    // Shrinking keeps a row's values together on one sheet, so it comes first; turning the
    // paper next, as it makes the pages twice as many for a long table; only then bands.
    double scale = std::min(1.0, pageWidth() / static_cast<double>(tableWidth));
    if (scale < smallest && dc.ResetDC(plat::DEVMODE{plat::DMORIENT_LANDSCAPE}))
        scale = std::min(1.0, pageWidth() / static_cast<double>(tableWidth));
    scale = std::max(scale, smallest);
    if (scale < 1.0) {
        dc.SetMapMode(plat::MM_ANISOTROPIC);
        dc.SetWindowExt(100000, 100000);
        dc.SetViewportExt(static_cast<int>(std::lround(unit.x * 100 * scale)), static_cast<int>(std::lround(unit.y * 100 * scale)));
    }
}

void MoxCellCtrl::DrawRules(plat::DC* dc, const std::vector<long>& columns, const std::vector<int>& lefts, long lastRow)
{
    // One pixel along the right and bottom edge of every cell shown, the heading's and the row
    // numbers' included; cells in view and the rules between them end together.
    plat::RECT client;
    GetClientRect(&client);
    const int bottom = HeadingHeight() + static_cast<int>(lastRow - m_topRow) * LineHeight();
    int right = m_fixedColWidth;
    if (!columns.empty())
        right = std::min(lefts.back() + m_columns[static_cast<std::size_t>(columns.back())].width, static_cast<int>(client.right));
    plat::Pen rule(plat::PS_SOLID, 1, kRuleColor);
    plat::Pen* oldPen = dc->SelectObject(&rule);
    const auto vertical = [&](int x) {
        if (x > 0 && x <= client.right) {
            dc->MoveTo(x - 1, 0);
            dc->LineTo(x - 1, bottom);
        }
    };
    vertical(m_fixedColWidth);
    for (std::size_t i = 0; i < columns.size(); ++i)
        vertical(lefts[i] + m_columns[static_cast<std::size_t>(columns[i])].width);
    for (int y = LineHeight(); y <= bottom; y += LineHeight()) {
        dc->MoveTo(0, y - 1);
        dc->LineTo(right, y - 1);
    }
    dc->SelectObject(oldPen);
}

int MoxCellCtrl::PrintPages(plat::DC* dc, MOX_PRINT* job)
{
    if (m_data == nullptr || dc == nullptr)
        return 0;
    const long lastRecord = std::min(m_data->GetLastInputRecordNo(), GetRowCount() - 1);
    FitPrintedWidth(*dc);
    // The page in logical units: a printer counts in fixed lengths with the y axis upwards,
    // and a grid pixel becomes one logical unit (a hundredth of an inch reads as on screen),
    // or fewer device units where the table was shrunk to fit.
    plat::POINT extent{dc->GetDeviceCaps(plat::HORZRES), dc->GetDeviceCaps(plat::VERTRES)};
    dc->DPtoLP(&extent);
    const bool upwards = extent.y < 0;
    const int pageWidth = std::abs(static_cast<int>(extent.x));
    const int pageHeight = std::abs(static_cast<int>(extent.y));
    const auto onPage = [upwards](int left, int top, int right, int bottom) {
        return upwards ? plat::RECT{left, -bottom, right, -top} : plat::RECT{left, top, right, bottom};
    };
    // A rule: a line one unit thick under or beside what it separates.
    const auto rule = [&](int left, int top, int right, int bottom) { dc->FillSolidRect(onPage(left, top, right, bottom), 0); };

    // The columns in bands that each fit beside the row numbers: every column is printed, the
    // bands that do not fit on the first page on pages of their own with the row numbers
    // repeated. A column wider than the page is a band of its own, cut at the page's edge.
    std::vector<std::vector<long>> bands(1);
    std::vector<std::vector<int>> bandLefts(1);
    for (long c = 0, x = m_fixedColWidth; c < GetColumnCount(); ++c) {
        const int width = m_columns[static_cast<std::size_t>(c)].width;
        if (width <= 0)
            continue; // hidden
        if (x + width > pageWidth && !bands.back().empty()) {
            bands.emplace_back();
            bandLefts.emplace_back();
            x = m_fixedColWidth;
        }
        bands.back().push_back(c);
        bandLefts.back().push_back(static_cast<int>(x));
        x += width;
    }
    if (job != nullptr)
        job->columnPages = static_cast<int>(bands.size());

    // Each page: the title line, every heading row, then as many lines as fit below them.
    const int headingsTop = 2 * LineHeight();
    const int bodyTop = headingsTop + std::max(1, m_fixedRows) * LineHeight();
    const long linesPerPage = std::max(1, (pageHeight - bodyTop) / LineHeight());
    const long records = lastRecord + 1;
    const long rowPages = records <= 0 ? 1 : (records + linesPerPage - 1) / linesPerPage;
    const long pages = rowPages * static_cast<long>(bands.size());
    dc->SelectObject(&m_font);
    dc->SetTextColor(kPalette[MOXC_TEXT]);
    dc->SetBkMode(plat::TRANSPARENT);
    long printed = 0;
    for (long page = 0; page < pages; ++page) {
        const long rowPage = page / static_cast<long>(bands.size());
        const std::vector<long>& columns = bands[static_cast<std::size_t>(page % static_cast<long>(bands.size()))];
        const std::vector<int>& lefts = bandLefts[static_cast<std::size_t>(page % static_cast<long>(bands.size()))];
        if (dc->StartPage() <= 0)
            break;
        const int right = columns.empty() ? m_fixedColWidth
                                          : std::min(pageWidth, lefts.back() + m_columns[static_cast<std::size_t>(columns.back())].width);
        if (job != nullptr && job->title != nullptr)
            DrawClippedText(dc, job->title, onPage(0, 0, pageWidth, LineHeight()), plat::DT_LEFT);
        const std::string number = "page " + std::to_string(page + 1) + " / " + std::to_string(pages);
        const std::string stamp = job != nullptr && job->date != nullptr ? std::string(job->date) + "   " + number : number;
        DrawClippedText(dc, stamp, onPage(0, 0, pageWidth, LineHeight()), plat::DT_RIGHT);

        MoxPos pos{0, 0};
        m_text.clear();
        if (Notify(MOXN_FIXEDCELLTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
            DrawClippedText(dc, m_text, onPage(0, headingsTop, m_fixedColWidth, headingsTop + LineHeight()), plat::DT_CENTER);
        for (int heading = 0; heading < m_fixedRows; ++heading) {
            const int top = headingsTop + heading * LineHeight();
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const Column& column = m_columns[static_cast<std::size_t>(columns[i])];
                pos = MoxPos{static_cast<std::int32_t>(columns[i]), heading};
                m_text.clear();
                // Centred over the column, as the screen shows headings.
                if (Notify(MOXN_FIXEDROWTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
                    DrawClippedText(dc, m_text,
                                    onPage(lefts[i] + column.marginLeft, top,
                                           std::min(lefts[i] + column.width, pageWidth) - column.marginRight, top + LineHeight()),
                                    plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
            }
        }
        const long first = rowPage * linesPerPage;
        const long end = std::min(records, first + linesPerPage);
        for (long row = first; row < end; ++row) {
            const int top = bodyTop + static_cast<int>(row - first) * LineHeight();
            pos = MoxPos{0, static_cast<std::int32_t>(row)};
            m_text.clear();
            if (Notify(MOXN_FIXEDCOLTEXT, reinterpret_cast<plat::WPARAM>(&pos), reinterpret_cast<plat::LPARAM>(&m_text)))
                DrawClippedText(dc, m_text, onPage(0, top, m_fixedColWidth - 2, top + LineHeight()), plat::DT_RIGHT);
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const Column& column = m_columns[static_cast<std::size_t>(columns[i])];
                m_text.clear();
                if (column.ownerDraw || !m_data->OnGetText(ItemOf(columns[i]), row, m_text))
                    continue;
                DrawClippedText(dc, m_text,
                                onPage(lefts[i] + column.marginLeft, top,
                                       std::min(lefts[i] + column.width, pageWidth) - column.marginRight, top + LineHeight()),
                                column.align);
            }
        }
        // The grid's rules: under the title and the headings, beside the row numbers and
        // between the columns, down to the last printed line.
        const int bottom = bodyTop + static_cast<int>(std::max(0L, end - first)) * LineHeight();
        rule(0, headingsTop - 1, right, headingsTop);
        rule(0, bodyTop - 1, right, bodyTop);
        rule(0, bottom, right, bottom + 1);
        rule(m_fixedColWidth - 1, headingsTop, m_fixedColWidth, bottom);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int columnRight = std::min(pageWidth, lefts[i] + m_columns[static_cast<std::size_t>(columns[i])].width);
            rule(columnRight - 1, headingsTop, columnRight, bottom);
        }
        if (dc->EndPage() <= 0)
            break;
        ++printed;
    }
    return static_cast<int>(printed);
}
