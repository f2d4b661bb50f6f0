#include "app/grid_paint.h"

#include <algorithm>

#include "app/cell_style.h"
#include "base/text.h"

namespace {

constexpr COLORREF data_line_color = RGB(216, 216, 216);
constexpr COLORREF fixed_line_color = RGB(128, 128, 128);

void fill(HDC dc, const RECT& box, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
}

void paint_row(HDC dc, int row, int y, const grid_model& model, const grid_geometry& geometry,
               const grid_view& view, grid_fonts& fonts) {
    const int height = geometry.row_pixels(row);
    const bool fixed = row < model.fixed_rows();
    int x = -view.scroll_x;
    for (int c = 0; c < model.column_count(); ++c) {
        const int width = geometry.column_pixels(c);
        RECT cell{x, y, x + width, y + height};
        x += width;
        const std::wstring text = wide_of(model.cell(c, row));
        const cell_style style = decide_cell_style(facts_of(model, c, row));

        fill(dc, cell, style.background);
        RECT text_area{cell.left + geometry.scaled(style.inset_left),
                       cell.top + geometry.scaled(style.inset_top),
                       cell.right - geometry.scaled(style.inset_right),
                       cell.bottom - geometry.scaled(style.inset_bottom)};
        if (!text.empty() && text_area.right > text_area.left) {
            const select_object chosen(dc, fonts.get(style.font_size, style.bold, geometry.dpi()));
            SetTextColor(dc, style.text_color);
            SetBkMode(dc, TRANSPARENT);
            UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
            format |= style.align == cell_align::right    ? DT_RIGHT
                      : style.align == cell_align::center ? DT_CENTER
                                                          : DT_LEFT;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_area, format);
            SetBkMode(dc, OPAQUE);
        }
        // Lines: always between header cells, between data cells as the
        // model says; under every row where lines are on.
        const bool vertical = fixed ? model.fixed_rows() > 0 : model.vertical_lines();
        if (vertical && model.horizontal_lines()) {
            fill(dc, RECT{cell.right - 1, cell.top, cell.right, cell.bottom},
                 fixed ? fixed_line_color : data_line_color);
        }
    }
    if (model.horizontal_lines()) {
        fill(dc, RECT{-view.scroll_x, y + height - 1, x, y + height},
             fixed ? fixed_line_color : data_line_color);
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
