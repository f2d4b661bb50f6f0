// The main window: the device list, the DirectX, OpenGL and Vulkan pages,
// the start-up sequence and the device selection. Its members are defined
// in files of one purpose each: main_window (life and what it shows),
// _controls, _layout, _capture, _messages, _keys, _reports and _submit.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/controls.h"
#include "app/dark_paint.h"
#include "app/grid_model.h"
#include "app/theme.h"
#include "base/win_handles.h"
#include "probe/capture.h"
#include "report/document.h"
#include "report/find.h"
#include "submit/http_post.h"

inline constexpr wchar_t application_title[] = L"Cavio";
inline constexpr wchar_t main_caption[] = L"Cavio \u2014 DirectX, OpenGL and Vulkan capabilities";

// What a file dialog asks for.
enum class file_choice { open, save, compare };

// The file dialog's title for a choice: "Compare with"; empty where the
// system's own ("Open", "Save As") says it.
const wchar_t* file_dialog_title(file_choice choice);

// The services the window calls that tests replace; the defaults are the
// real platform.
struct window_seams {
    capture_seams capture;  // the probes of start-up
    // A message box over owner; text in UTF-8.
    std::function<int(HWND owner, const std::string& text, UINT type)> message_box;
    // The thank-you of a site that said where the report is: the text, and
    // the address as a link to open (keyboard too) or copy.
    std::function<void(HWND owner, const std::string& text, const std::string& address)> thank_you;
    std::function<void(const std::string& command_line)> run_hidden;  // WinExec, hidden
    std::function<void(const std::string& address)> open_address;     // the shell's default browser
    std::string product_url;
    std::string maker_url;
    std::string submit_url;  // the submitter on the product site's host
    // The common file dialog: a report to open or to compare with, or the
    // file to save the report as, starting in folder with the name
    // suggested; UTF-8, empty when cancelled.
    std::function<std::string(HWND owner, file_choice choice, const std::string& folder,
                              const std::string& name)>
        choose_file;
    // The theme to show: Windows' own by default.
    std::function<ui_theme()> theme;
};

window_seams default_window_seams();

// The thank-you with its link, as thank_you: a task dialog whose link opens
// the address and whose "Copy address" button copies it; a message box that
// names it where the system has no task dialog.
void show_thank_you(HWND owner, const std::string& text, const std::string& address);

// The common Open or Save As dialog for a report, as choose_file.
std::string choose_report_file(HWND owner, file_choice choice, const std::string& folder,
                               const std::string& name);

// The name Save suggests for a report of an adapter on a day:
// "NVIDIA GeForce RTX 4090 - 2026-12-09.json", without the characters a
// file name cannot hold.
std::string suggested_report_name(const std::string& adapter, const SYSTEMTIME& day);

// The controls of a group's Summary sheet.
struct summary_controls {
    HWND sheet = nullptr;        // the Summary page
    HWND image = nullptr;        // the logo
    HWND home_visit = nullptr;   // "Visit" before the product's link
    HWND home_link = nullptr;    // the product's address
    HWND maker_visit = nullptr;  // "Visit" before the maker's link
    HWND maker_link = nullptr;   // the maker's address
    HWND panel = nullptr;        // the panel that keeps the grid in the middle
    HWND grid = nullptr;         // the Summary grid
    // The Vulkan Summary's choice of device, shown where Vulkan lists more
    // than one: every Vulkan page shows the device chosen.
    HWND device_label = nullptr;
    HWND device_list = nullptr;
};

// The controls of one group of pages, DirectX or OpenGL.
struct group_controls {
    HWND tab = nullptr;    // its tab on the left of group_panel
    HWND sheet = nullptr;  // the group's pages with their strip
    HWND pages = nullptr;  // the page strip
    // One per page, in tab order; the first is the Summary sheet. A page's
    // sheet, as its grid, is made when the page first shows (null till then).
    std::vector<HWND> page_sheets;
    std::vector<HWND> grids;  // one per page, in tab order; null until its page first shows
    summary_controls summary;
};

// Every control of the main window, created with it.
struct window_controls {
    HWND status_bar = nullptr;  // version, the latest problem, what Find says
    HWND top_panel = nullptr;
    HWND device_label = nullptr;  // "Device:"
    HWND adapter_list = nullptr;
    HWND find_label = nullptr;  // "Find:"
    HWND find_box = nullptr;    // the text to find across every page
    HWND submit_button = nullptr;
    HWND compare_label = nullptr;     // "Compared with:", while comparing
    HWND compared_list = nullptr;     // the compared report's adapter, paired with the one shown
    HWND differences_only = nullptr;  // the check box that filters every page
    HWND group_panel = nullptr;
    group_controls directx;
    group_controls opengl;
    group_controls vulkan;

    // The controls of a group.
    group_controls& group(page_group which) {
        return which == page_group::directx ? directx : which == page_group::opengl ? opengl : vulkan;
    }
    const group_controls& group(page_group which) const {
        return const_cast<window_controls*>(this)->group(which);
    }
};

class main_window {
public:
    // The window and its controls, not shown yet. With start_after_showing
    // (the program's own window, which shows at once), the capture starts
    // once the window has shown and painted, and reads the adapter list
    // aside, so that the window takes input all the while.
    explicit main_window(window_seams seams = default_window_seams(), bool start_after_showing = false);
    ~main_window();
    main_window(const main_window&) = delete;
    main_window& operator=(const main_window&) = delete;

    HWND handle() const { return window_.get(); }

    // Handlers.
    // Lists the adapters, shows the first and starts the probes; each group
    // and page fills when its probe hands its records in.
    void start_up();
    // Waits, with the wait cursor and the status bar saying so, for the
    // probes still reading, up to their bound: Find, copying a page or the
    // report, saving, comparing and Submit need the whole report.
    void finish_capture();
    // Takes in what the probes handed in since, and shows it.
    void take_in_capture();
    // A probe has not ended (given up at its bound, or the window closed
    // first): the process should not wait for it when it exits.
    bool capture_left_running() const;
    void show_selected_adapter();
    void open_home_link();
    void open_maker_link();
    void submit_report();
    // Saved reports. Opening one shows it in place of this machine's; a file
    // that is refused is said in a message box and changes nothing.
    bool open_report(const std::string& path);
    void show_this_machine();
    bool save_report(const std::string& path);  // JSON, or readable text for a ".txt" name
    bool compare_with(const std::string& path);
    void close_comparison();
    // The menu's commands that ask for a file first.
    void choose_report_to_open();
    void choose_where_to_save();
    void choose_report_to_compare();
    void show_about();
    // Opened at start-up in place of this machine's report, where set.
    std::string report_at_start;

    const window_controls& controls() const { return controls_; }
    int dpi() const { return dpi_; }

    bool started = false;
    std::unique_ptr<http_component> http;  // one session for the window's life
    // This machine's report as the site receives it, made at start-up.
    std::string submission;

    // The report the window shows: this machine's, read once at start-up,
    // or an opened one.
    const report_document& document() const { return document_; }
    bool showing_file() const { return !opened_.empty(); }
    bool comparing() const { return compared_.has_value(); }
    // The adapter whose pages the window shows, or null before start-up.
    const adapter_report* shown_adapter() const;
    // What the grid of a page shows.
    grid_model& grid(page_id id) { return grids_[static_cast<size_t>(id)]; }
    const grid_model& grid(page_id id) const { return grids_[static_cast<size_t>(id)]; }

    // The grid window of a page, made now (with its group's pages) where its
    // page has not shown yet.
    HWND grid_window(page_id id);

    // Lays the controls out for the current client size and DPI.
    void relayout();
    // Redraws every grid after its model changed.
    void refresh_grids();

    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    // The window's own keys, before the dialog navigation of the message
    // loop: Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp change the
    // page; Ctrl+F goes to the find box; F3, Shift+F3 and Return in the box
    // go to the next or previous row found; Esc in the box goes back to the
    // page; Alt+V shows the Vulkan group. True when the message was one of them.
    bool translate_key(const MSG& message);
    // Selects the page delta places on in the current group, wrapping.
    void step_page(int delta);
    // Finds the find box's text on every page, as far as it is read, and
    // goes to the first row found; the status bar says how many.
    void find_again();
    // Find again over records that came in since, where the find box has a
    // text: the row shown stays, and a search that found nothing goes to
    // what it finds now.
    void find_in_new_records();
    // While comparing: the rows of every page as the grids show them that
    // hold text, in either value, in tab order.
    std::vector<found_row> find_shown_rows(std::string_view text) const;
    // Goes to the found row delta places on, wrapping: its group, its page
    // and the row, selected and in view.
    void step_found(int delta);
    // Goes to the next (delta 1) or previous (-1) row that differs from the
    // compared report, across pages and groups, wrapping; the status bar
    // says which of how many.
    void step_difference(int delta);
    // Shows every Vulkan page of the document's Vulkan device of that index.
    void show_vulkan_device(size_t index);
    // Shows a page with its first row of that name (for the Outputs page, the
    // first in HDR where one is) selected and in view.
    void show_row(page_id page, std::string_view name);

    // Runs a handler; an exception leaving it is shown in an error box, and
    // the program goes on.
    void guarded(void (main_window::*handler)());

    bool quit_on_destroy = false;  // the program's own window ends the message loop
    // The program's own window shows before it lists the adapters, with
    // "Reading…" in place; a test's starts as it shows.
    bool start_after_paint = false;
    void complete_controls();

private:
    void create_controls();
    void create_summary(summary_controls& summary, grid_model& grid, int grid_id);
    void create_pages(group_controls& group, page_group which);
    // A group's pages, made where they are not yet (OpenGL's and Vulkan's
    // wait until their group first shows); true when made now.
    bool ensure_group(page_group which);
    void apply_group_fonts(const group_controls& group);
    void apply_group_theme(const group_controls& group);
    // The grid of a group's page at index, made where it is not yet.
    HWND ensure_grid(group_controls& group, size_t index);
    page_group group_of(const group_controls& group) const {
        return &group == &controls_.directx  ? page_group::directx
               : &group == &controls_.opengl ? page_group::opengl
                                             : page_group::vulkan;
    }
    void apply_fonts();
    void show_group(page_group group);
    void show_page(const group_controls& group);
    group_controls* group_of_pages(HWND strip);
    void open_link(const std::string& address);
    void report_error(const std::exception& error);
    void on_dpi_changed(int dpi, const RECT* suggested);
    void layout_summary_sheet(const summary_controls& summary, page_group group);
    void layout_page_control(const group_controls& group, page_group which);
    void draw_item(const DRAWITEMSTRUCT& item);
    void on_command(int id, int code);
    void create_menu();
    void fill_adapter_list();
    void fill_compared_list();
    void show_report_state();
    void copy_from_grid(int code);
    void apply_theme();
    void show_capture();
    void show_reading();
    void show_changed_pages(const report_document& before);
    // The Vulkan device chooser: every device of the document, the shown
    // adapter's own chosen; hidden where there is one device or a comparison.
    void fill_vulkan_devices();
    // The number of differing rows on each page's tab and group's button.
    void show_difference_counts();
    // What the Formats matrix's filter lets through, in the status bar.
    void show_filter(const grid_model& model);
    // The control with the focus, kept while another window is active, and
    // given the focus again: that control where it still shows, else the
    // grid of the page on show.
    void remember_focus();
    void restore_focus();

    window_seams seams_;
    report_document document_;
    report_document live_;                     // this machine's, as far as it is read
    std::unique_ptr<capture_run> run_;         // the start-up capture, under way or done
    std::string opened_;                       // the path of the report shown; empty: this machine's
    std::optional<report_document> compared_;  // the report compared with, while comparing
    std::string compared_path_;
    std::string last_folder_;        // where the file dialogs start, for the session
    std::vector<grid_model> grids_;  // one per page, in the page table's order; the grid windows read them
    window_handle window_;
    int dpi_ = 96;
    page_group group_ = page_group::directx;  // the group on show
    window_controls controls_;
    std::vector<found_row> found_;  // the rows of the last find, in tab order
    int found_at_ = -1;             // the one shown
    gdi_object<HFONT> font_;
    gdi_object<HFONT> bold_font_;
    gdi_object<HFONT> tab_font_;
    gdi_object<HFONT> link_font_;
    gdi_object<HBRUSH> face_brush_;
    gdi_object<HBRUSH> window_brush_;
    gdi_object<HBITMAP> logo_;
    menu_texts menu_texts_;      // the menu bar's, while the window draws it
    std::string filter_said_;    // what the status bar last said of the Formats filter
    HWND last_focus_ = nullptr;  // the control that had the focus when the window was last active
    // The client size, DPI and comparing of the last layout; none: lay out.
    std::optional<std::tuple<int, int, int, bool>> laid_out_;
    std::array<bool, group_count> group_laid_out_{};  // a group's pages laid out at that shape
};

// Posted to the main window when a probe of the start-up capture ends.
inline constexpr UINT capture_message = WM_APP + 1;
// Posted to the main window to paint its menu bar's empty part dark.
inline constexpr UINT menu_bar_message = WM_APP + 3;
// The main window's timer for the probes' bound.
inline constexpr UINT_PTR capture_timer = 1;
// The main window's timer that starts the capture once it has painted.
inline constexpr UINT_PTR start_timer = 2;
