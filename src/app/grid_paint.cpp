// Painting a grid model, double-buffered, for WM_PAINT and WM_PRINTCLIENT alike.
#include "app/grid_paint.h"

#include <algorithm>

#include "app/cell_style.h"
#include "app/theme.h"
#include "base/text.h"

namespace {

constexpr COLORREF data_line_color = RGB(216, 216, 216);
constexpr COLORREF fixed_line_color = RGB(128, 128, 128);

void fill(HDC dc, const RECT& box, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
}

// The width of text in the font selected into dc.
int text_extent(HDC dc, const std::wstring& text) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

// Behind the text Find marked in a cell: where it lies as the cell's
// alignment places the whole text.
void mark_found(HDC dc, const std::string& text, const grid_model::marked_text& match, const RECT& area,
                cell_align align) {
    const std::wstring whole = wide_of(text);
    const std::wstring before = wide_of(text.substr(0, std::min(match.offset, text.size())));
    const std::wstring found = wide_of(text.substr(std::min(match.offset, text.size()), match.length));
    const int width = text_extent(dc, whole);
    const int left = align == cell_align::right    ? area.right - width
                     : align == cell_align::center ? (area.left + area.right - width) / 2
                                                   : area.left;
    const int from = left + text_extent(dc, before);
    fill(dc, RECT{from, area.top, std::min<LONG>(from + text_extent(dc, found), area.right), area.bottom},
         active_palette().found);
}

// Runs paint on the columns that scroll, clipped to the right of the first,
// then on the first, which stays in view.
template <typename Paint>
void each_column(HDC dc, int y, int height, const grid_model& model, const grid_geometry& geometry,
                 const grid_view& view, Paint paint) {
    SaveDC(dc);
    IntersectClipRect(dc, geometry.frozen_width(), y, 1 << 20, y + height);
    for (int c = 1; c < model.column_count(); ++c) {
        paint(c, geometry.column_screen_left(c, view.scroll_x));
    }
    RestoreDC(dc, -1);
    if (model.column_count() > 0) {
        paint(0, 0);
    }
}

void paint_row(HDC dc, int row, int y, const grid_model& model, const grid_geometry& geometry,
               const grid_view& view, grid_fonts& fonts) {
    const int height = geometry.row_pixels(row);
    const bool fixed = row < model.fixed_rows();
    const bool section = !fixed && model.kind(row) == row_kind::section;
    // The backgrounds and lines first, then the texts: a section's heading
    // runs on over the empty cells beside it.
    each_column(dc, y, height, model, geometry, view, [&](int c, int x) {
        const RECT cell{x, y, x + geometry.column_pixels(c), y + height};
        fill(dc, cell, decide_cell_style(cell_facts_at(model, c, row)).background);
        // Lines: always between header cells, between data cells as the
        // model says; under every row where lines are on.
        const bool vertical = fixed ? model.fixed_rows() > 0 : model.vertical_lines();
        if (vertical && model.horizontal_lines()) {
            fill(dc, RECT{cell.right - 1, cell.top, cell.right, cell.bottom},
                 fixed ? fixed_line_color : data_line_color);
        }
    });
    // The heading of a section, in the first column, and where its text ends.
    int text_end = 0;
    bool heading_drawn = false;
    const auto paint_text = [&](int c, int x) {
        if (c == 0 && heading_drawn) {
            return;
        }
        int right = x + geometry.column_pixels(c);
        const std::string& cell_text = model.cell(c, row);
        if (section || (c == 0 && !model.placeholder().empty())) {
            for (int next = c + 1; next < model.column_count() && model.cell(next, row).empty(); ++next) {
                right += geometry.column_pixels(next);
            }
        }
        const RECT cell{x, y, right, y + height};
        const std::wstring text = wide_of(cell_text);
        const cell_style style = decide_cell_style(cell_facts_at(model, c, row));
        RECT text_area{cell.left + geometry.scaled(style.inset_left),
                       cell.top + geometry.scaled(style.inset_top),
                       cell.right - geometry.scaled(style.inset_right),
                       cell.bottom - geometry.scaled(style.inset_bottom)};
        // A section's heading is never cut: it runs on as far as it needs,
        // and what follows it on its row starts after it.
        if (section && !text.empty()) {
            const select_object measured_font(dc, fonts.get(style.font_size, style.bold, geometry.dpi()));
            RECT needed = text_area;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                      DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
            const int width = needed.right - needed.left;
            if (c > 0) {
                text_area.left = std::max<LONG>(text_area.left, text_end + geometry.scaled(16));
            }
            if (c == 0 || text_area.left + width > text_area.right) {
                text_area.right = std::max<LONG>(text_area.right, text_area.left + width);
            }
            text_end = std::max<int>(text_end, text_area.left + width);
        }
        if (!text.empty() && text_area.right > text_area.left) {
            const select_object chosen(dc, fonts.get(style.font_size, style.bold, geometry.dpi()));
            if (model.match.row == row && model.match.column == c) {
                SaveDC(dc);
                IntersectClipRect(dc, text_area.left, text_area.top, text_area.right, text_area.bottom);
                mark_found(dc, cell_text, model.match, text_area, style.align);
                RestoreDC(dc, -1);
            }
            SetTextColor(dc, style.text_color);
            SetBkMode(dc, TRANSPARENT);
            UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
            format |= style.align == cell_align::right    ? DT_RIGHT
                      : style.align == cell_align::center ? DT_CENTER
                                                          : DT_LEFT;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_area, format);
            SetBkMode(dc, OPAQUE);
        }
    };
    // A heading first, so that where it ends is known; else the first
    // column last, over what passes under it.
    if (section && model.column_count() > 0) {
        paint_text(0, 0);
        heading_drawn = true;
    }
    each_column(dc, y, height, model, geometry, view, paint_text);
    if (model.horizontal_lines()) {
        const int right = std::max(geometry.frozen_width(), geometry.content_width() - view.scroll_x);
        fill(dc, RECT{0, y + height - 1, right, y + height}, fixed ? fixed_line_color : data_line_color);
    }
}

}  // namespace

HFONT grid_fonts::get(int points, bool bold, int dpi) {
    auto& slot = fonts_[{points, bold}];
    if (!slot) {
        slot.reset(CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                               FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    }
    return slot.get();
}

void paint_grid(HDC dc, const RECT& area, const grid_model& model, const grid_geometry& geometry,
                const grid_view& view, grid_fonts& fonts) {
    fill(dc, area, grid_background(model));
    // Data rows under the header, from the first one in view.
    const int view_top = geometry.fixed_height();
    const int first = geometry.row_at(view_top, view.scroll_y);
    if (first >= 0) {
        const gdi_object<HRGN> clip(
            CreateRectRgn(area.left, std::max<LONG>(area.top, view_top), area.right, area.bottom));
        SelectClipRgn(dc, clip.get());
        for (int r = first; r < model.row_count(); ++r) {
            const int y = geometry.row_top(r) - view.scroll_y;
            if (y >= area.bottom) {
                break;
            }
            paint_row(dc, r, y, model, geometry, view, fonts);
        }
        SelectClipRgn(dc, nullptr);
    }
    for (int r = 0; r < model.fixed_rows(); ++r) {
        paint_row(dc, r, geometry.row_top(r), model, geometry, view, fonts);
    }
    // A dotted focus line around the current row while the grid has focus,
    // on the Summary grids too.
    const bool has_data = model.row_count() > model.fixed_rows();
    if (view.focused && has_data) {
        const int y = geometry.row_top(model.current_row) - view.scroll_y;
        if (y >= view_top) {
            RECT focus{0, y, std::min<int>(area.right, geometry.content_width() - view.scroll_x),
                       y + geometry.row_pixels(model.current_row)};
            DrawFocusRect(dc, &focus);
        }
    }
}
