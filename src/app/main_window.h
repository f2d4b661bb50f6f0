// The main window: the device list, the DirectX and OpenGL pages, the start-up
// sequence and the device selection.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/win_handles.h"
#include "probe/capture.h"
#include "probe/d3d_common.h"
#include "probe/gl_probe.h"
#include "report/find.h"
#include "report/report.h"
#include "submit/http_post.h"

inline constexpr char application_title[] = "Cavio";
inline constexpr char main_caption[] = "Tarsen's DirectX 9, 10 and OpenGL capabilities viewer";

// The services the window calls that tests replace; the defaults are the
// real platform.
struct form_seams {
    capture_seams capture;  // the probes of start-up
    std::function<int(HWND owner, const std::string& text, UINT type)> message_box;
    std::function<void(const std::string& command_line)> run_hidden;  // WinExec, hidden
    std::function<void(const std::string& address)> open_address;     // the shell's default browser
    std::string product_url;
    std::string maker_url;
    std::string submit_url;  // the submitter on the product site's host
};

form_seams default_form_seams();

// The host of an http address: "cavio.example" of "http://cavio.example/x".
std::string host_of(const std::string& url);

// "/submitter.php" on the host (and port) of an http address.
std::string submitter_url(const std::string& url);

// The controls of a group's Summary sheet, by their component names (the
// OpenGL side's in brackets).
struct summary_controls {
    HWND sheet = nullptr;        // TSdx_summary (TSgl_summary)
    HWND image = nullptr;        // Image1 (Image2): the logo
    HWND home_visit = nullptr;   // "Visit" before the product's link
    HWND home_link = nullptr;    // Lhome_link (Label2)
    HWND maker_visit = nullptr;  // "Visit" before the maker's link
    HWND maker_link = nullptr;   // Lmaker_link (Label7)
    HWND panel = nullptr;        // Psummary (Pgl_summary)
    HWND grid = nullptr;         // SGdx_summary (SGgl_summary)
};

// The controls of one group of pages, DirectX or OpenGL.
struct group_controls {
    HWND tab = nullptr;             // its tab on the left of group_panel
    HWND sheet = nullptr;           // TSdirectx (TSopengl)
    HWND pages = nullptr;           // PCdirectx (PCopengl): the page strip
    std::vector<HWND> page_sheets;  // one per page, in tab order; the first is the Summary sheet
    std::vector<HWND> grids;        // one per page, in tab order
    summary_controls summary;
};

// Every control of the main window, created with it.
struct form_controls {
    HWND status_bar = nullptr;  // the status bar
    HWND top_panel = nullptr;
    HWND device_label = nullptr;  // "Device:"
    HWND adapter_list = nullptr;
    HWND find_label = nullptr;  // "Find:"
    HWND find_box = nullptr;    // the text to find across every page
    HWND submit_button = nullptr;
    HWND group_panel = nullptr;
    group_controls directx;
    group_controls opengl;
};

class main_window {
public:
    explicit main_window(form_seams seams = default_form_seams());
    ~main_window();
    main_window(const main_window&) = delete;
    main_window& operator=(const main_window&) = delete;

    HWND handle() const { return window_.get(); }

    // Handlers.
    void start_up();
    void show_selected_adapter();
    void open_home_link();
    void open_maker_link();
    void submit_report();

    const form_controls& controls() const { return controls_; }
    int dpi() const { return dpi_; }

    bool started = false;
    std::unique_ptr<direct3d_probe> direct3d;
    std::unique_ptr<gl_probe> opengl;
    report pages;                          // the page grids with current_grid, echo and submission_text
    std::unique_ptr<http_component> http;  // one session for the window's life

    // Lays the controls out for the current client size and DPI.
    void relayout();
    // Redraws every grid after its model changed.
    void refresh_grids();

    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    // The window's own keys, before the dialog navigation of the message
    // loop: Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp change the
    // page; Ctrl+F goes to the find box; F3, Shift+F3 and Return in the box
    // go to the next or previous row found; Esc in the box goes back to the
    // page. True when the message was one of them.
    bool translate_key(const MSG& message);
    // Selects the page delta places on in the current group, wrapping.
    void step_page(int delta);
    // Finds the find box's text on every page and goes to the first row
    // found; the status bar says how many.
    void find_again();
    // Goes to the found row delta places on, wrapping: its group, its page
    // and the row, selected and in view.
    void step_found(int delta);

    // Runs a handler; an exception leaving it is shown in an error box, and
    // the program goes on.
    void guarded(void (main_window::*handler)());

    bool quit_on_destroy = false;  // the program's own window ends the message loop

private:
    void create_controls();
    void create_summary(summary_controls& summary, grid_model& grid, int grid_id);
    void create_pages(group_controls& group, page_group which);
    void apply_fonts();
    void show_group(int group);
    void show_page(const group_controls& group);
    group_controls* group_of_pages(HWND strip);
    void open_link(const std::string& address);
    void report_error(const std::exception& error);
    void on_dpi_changed(int dpi, const RECT* suggested);
    void layout_summary_sheet(const summary_controls& summary, bool opengl);
    void layout_page_control(const group_controls& group);
    void draw_item(const DRAWITEMSTRUCT& item);
    void on_command(int id, int code);

    form_seams seams_;
    window_handle window_;
    int dpi_ = 96;
    int group_ = 0;  // 0 DirectX, 1 OpenGL
    form_controls controls_;
    std::vector<found_row> found_;  // the rows of the last find, in tab order
    int found_at_ = -1;             // the one shown
    gdi_object<HFONT> font_;
    gdi_object<HFONT> bold_font_;
    gdi_object<HFONT> tab_font_;
    gdi_object<HFONT> link_font_;
    gdi_object<HBRUSH> face_brush_;
    gdi_object<HBITMAP> logo_;
};

// Registers the window classes of the main window once per process.
void register_form_classes();
