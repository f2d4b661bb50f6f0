// The window's keys beyond the dialog navigation, and Find.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/grid_control.h"
#include "report/find.h"

void main_window::step_page(int delta) {
    const group_controls& group = controls_.group(group_);
    const int count = static_cast<int>(group.page_sheets.size());
    const int selected = static_cast<int>(SendMessageW(group.pages, TCM_GETCURSEL, 0, 0));
    const int next = ((selected + delta) % count + count) % count;
    SendMessageW(group.pages, TCM_SETCURSEL, next, 0);
    SendMessageW(group.pages, TCM_SETCURFOCUS, next, 0);
    show_page(group);
}

void main_window::find_again() {
    // What is read so far: what the probes still read is searched as it
    // comes in (find_in_new_records), so typing never waits for them.
    const std::string text = window_text(controls_.find_box);
    const adapter_report* adapter = shown_adapter();
    found_ = comparing()          ? find_shown_rows(text)
             : adapter != nullptr ? find_rows(*adapter, text)
                                  : std::vector<found_row>{};
    found_at_ = -1;
    set_status(controls_.status_bar, status_find, text.empty() || !found_.empty() ? "" : "No match");
    if (found_.empty()) {
        // Nothing is left marked from a longer text or an earlier search.
        for (const page_group which : {page_group::directx, page_group::opengl, page_group::vulkan}) {
            const group_controls& group = controls_.group(which);
            const auto pages = pages_of(which);
            for (size_t i = 0; i < pages.size() && i < group.grids.size(); ++i) {
                if (grid(pages[i].id).match.row >= 0) {
                    grid(pages[i].id).match = {};
                    if (group.grids[i] != nullptr) {
                        InvalidateRect(group.grids[i], nullptr, FALSE);
                    }
                }
            }
        }
        return;
    }
    // From the page on show onwards, round to the first page again.
    const group_controls& group = controls_.group(group_);
    const auto tab = static_cast<size_t>(SendMessageW(group.pages, TCM_GETCURSEL, 0, 0));
    const auto pages = pages_of(group_);
    const page_id open = pages[std::min(tab, pages.size() - 1)].id;
    const auto first =
        std::find_if(found_.begin(), found_.end(), [open](const found_row& row) { return row.page >= open; });
    found_at_ = first == found_.end() ? -1 : static_cast<int>(first - found_.begin()) - 1;
    step_found(1);
}

void main_window::find_in_new_records() {
    const std::string text = window_text(controls_.find_box);
    if (text.empty()) {
        return;
    }
    // The row shown stays the one shown; a search that found nothing goes
    // to what it finds now.
    const std::optional<found_row> shown =
        found_at_ >= 0 ? std::optional(found_[static_cast<size_t>(found_at_)]) : std::nullopt;
    const adapter_report* adapter = shown_adapter();
    found_ = comparing()          ? find_shown_rows(text)
             : adapter != nullptr ? find_rows(*adapter, text)
                                  : std::vector<found_row>{};
    if (!shown) {
        found_at_ = -1;
        set_status(controls_.status_bar, status_find, found_.empty() ? "No match" : "");
        if (!found_.empty()) {
            step_found(1);
        }
        return;
    }
    const auto again = std::find(found_.begin(), found_.end(), *shown);
    found_at_ = again == found_.end() ? -1 : static_cast<int>(again - found_.begin());
    const int count = static_cast<int>(found_.size());
    set_status(controls_.status_bar, status_find,
               found_.empty()  ? "No match"
               : found_at_ < 0 ? std::to_string(count) + (count == 1 ? " match" : " matches")
                               : std::to_string(found_at_ + 1) + " of " + std::to_string(count) +
                                     (count == 1 ? " match" : " matches"));
}

// While comparing, Find looks at what the grids show: both values of each
// row, and only the rows "Differences only" leaves.
std::vector<found_row> main_window::find_shown_rows(std::string_view text) const {
    std::vector<found_row> found;
    if (text.empty()) {
        return found;
    }
    for (const page_group which : {page_group::directx, page_group::opengl, page_group::vulkan}) {
        for (const page_info& info : pages_of(which)) {
            const grid_model& model = grid(info.id);
            const std::vector<report_row>& rows = model.shown().rows;
            for (size_t r = 0; r < rows.size(); ++r) {
                const report_row& row = rows[r];
                const std::string& compared = model.compared_value(r);
                for (const auto& [field, cell] :
                     {std::pair{found_in::name, &row.name}, std::pair{found_in::value, &row.value},
                      std::pair{found_in::compared, &compared},
                      std::pair{found_in::description, &row.description}}) {
                    if (const size_t at = find_in_text(*cell, text); at != std::string::npos) {
                        found.push_back({info.id, static_cast<int>(r), field, at});
                        break;
                    }
                }
            }
        }
    }
    return found;
}

void main_window::step_found(int delta) {
    if (found_.empty()) {
        return;
    }
    const int count = static_cast<int>(found_.size());
    const int before = found_at_;
    found_at_ = found_at_ < 0 ? (delta > 0 ? 0 : count - 1) : ((found_at_ + delta) % count + count) % count;
    const found_row& row = found_[static_cast<size_t>(found_at_)];
    // "3 of 191 matches": a screen reader reads the status bar's text; and
    // whether the step went round the end.
    const bool wrapped = before >= 0 && count > 1 && (delta > 0 ? found_at_ < before : found_at_ > before);
    set_status(controls_.status_bar, status_find,
               std::to_string(found_at_ + 1) + " of " + std::to_string(count) +
                   (count == 1 ? " match" : " matches") +
                   (!wrapped    ? ""
                    : delta > 0 ? ", from the top"
                                : ", from the bottom"));
    const page_info& info = page_of(row.page);
    group_controls& group = controls_.group(info.group);
    show_group(info.group);
    // The page's place among its group's tabs.
    const int index = static_cast<int>(&info - pages_of(info.group).data());
    SendMessageW(group.pages, TCM_SETCURSEL, index, 0);
    show_page(group);
    HWND shown = group.grids[static_cast<size_t>(index)];
    grid_model& model = grid(row.page);
    // A format the matrix's filter hides is shown with every other again
    // (a comparison's rows were found among those shown).
    if (!model.filter().empty() && !comparing()) {
        grid_set_filter(shown, {});
    }
    const int at = model.fixed_rows() + row.row;
    // The found text, marked where the grid shows it as the report has it.
    const column_role role = row.field == found_in::name       ? column_role::name
                             : row.field == found_in::value    ? column_role::value
                             : row.field == found_in::compared ? column_role::compared
                                                               : column_role::description;
    const int column = model.column_of(role);
    if (column < 0) {
        grid_select_row(shown, at);
        return;
    }
    const size_t length = window_text(controls_.find_box).size();
    // A comparison's rows were found as the grid shows them.
    if (comparing()) {
        grid_show_match(shown, at, role, row.offset, length);
        return;
    }
    // The text as the grid shows it: where that is the report's own (not a
    // number rewritten for the window, say), the match alone is marked.
    const report_page* page =
        shown_adapter() != nullptr ? shown_adapter()->group(info.group).page(row.page) : nullptr;
    const std::string& cell = model.cell(column, at);
    std::string written;
    if (page != nullptr && static_cast<size_t>(row.row) < page->rows.size()) {
        const report_row& source = page->rows[static_cast<size_t>(row.row)];
        written = role == column_role::name    ? source.name
                  : role == column_role::value ? source.value
                                               : source.description;
    }
    if (cell == written) {
        grid_show_match(shown, at, role, row.offset, length);
    } else {
        grid_show_match(shown, at, role, 0, cell.size());
    }
}

bool main_window::translate_key(const MSG& message) {
    const bool ours = message.hwnd == window_.get() || IsChild(window_.get(), message.hwnd);
    // Alt+D, Alt+O and Alt+V: a group, from anywhere in the window.
    if (message.message == WM_SYSKEYDOWN && ours) {
        for (const auto& [key, group] :
             {std::pair{'D', page_group::directx}, std::pair{'O', page_group::opengl},
              std::pair{'V', page_group::vulkan}}) {
            if (message.wParam == static_cast<WPARAM>(key)) {
                show_group(group);
                SetFocus(controls_.group(group).tab);
                return true;
            }
        }
    }
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    // F8 and Shift+F8: the differences, from anywhere in the window.
    if (message.message == WM_KEYDOWN && ours && message.wParam == VK_F8) {
        step_difference(shift ? -1 : 1);
        return true;
    }
    if (message.message != WM_KEYDOWN || !ours || message.hwnd == window_.get()) {
        return false;
    }
    // Return or Space on a focused link opens it, as a click does.
    if ((message.wParam == VK_RETURN || message.wParam == VK_SPACE) &&
        GetPropW(message.hwnd, link_property)) {
        on_command(GetDlgCtrlID(message.hwnd), STN_CLICKED);
        return true;
    }
    const bool in_find = message.hwnd == controls_.find_box;
    if (message.wParam == VK_F3 || (in_find && message.wParam == VK_RETURN)) {
        step_found(shift ? -1 : 1);
        return true;
    }
    if (in_find && message.wParam == VK_ESCAPE) {
        // Back to the grid of the page on show.
        const group_controls& group = controls_.group(group_);
        const auto selected = static_cast<size_t>(SendMessageW(group.pages, TCM_GETCURSEL, 0, 0));
        SetFocus(group.grids[std::min(selected, group.grids.size() - 1)]);
        return true;
    }
    if (GetKeyState(VK_CONTROL) >= 0) {
        return false;
    }
    switch (message.wParam) {
        case 'O':
            guarded(shift ? &main_window::choose_report_to_compare : &main_window::choose_report_to_open);
            return true;
        case 'S':
            guarded(&main_window::choose_where_to_save);
            return true;
        case 'F':
            SetFocus(controls_.find_box);
            SendMessageW(controls_.find_box, EM_SETSEL, 0, -1);
            return true;
        case VK_TAB:
            step_page(shift ? -1 : 1);
            return true;
        case VK_NEXT:
            step_page(1);
            return true;
        case VK_PRIOR:
            step_page(-1);
            return true;
        default:
            return false;
    }
}
