// Identifiers the main window's parts share: control ids, the property that
// marks link labels, and the logo's resource.
#pragma once

enum control_id : int {
    id_adapters = 1001,
    id_submit,
    id_directx_tab,
    id_opengl_tab,
    id_vulkan_tab,
    id_directx_pages,
    id_opengl_pages,
    id_vulkan_pages,
    id_home_link,
    id_maker_link,
    id_logo,
    id_find,
    id_compared_list,
    id_differences_only,
    id_vulkan_devices,
    id_first_grid = 1100,
    // The menu bar's commands.
    id_menu_open = 1200,
    id_menu_this_machine,
    id_menu_save,
    id_menu_compare,
    id_menu_close_comparison,
    id_menu_exit,
    id_menu_copy,
    id_menu_copy_page,
    id_menu_copy_report,
    id_menu_find,
    id_menu_about,
    id_menu_next_difference,
    id_menu_previous_difference,
};

inline constexpr wchar_t link_property[] = L"CavioLink";
inline constexpr int icon_resource = 1;    // the ICON of cavio.rc: 16, 32, 48 and 256 pixels
inline constexpr int logo_resource = 100;  // the BITMAP of cavio.rc
