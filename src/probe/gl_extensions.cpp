// The known OpenGL and WGL extensions, in their vendor groups, as data.
#include "probe/gl_extensions.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

// The known extensions in report order. The display name differs from the
// searched one only where the report has always spelt it so.
constexpr gl_extension extensions[] = {
    // 3DFX
    {"GL_3DFX_multisample", "GL_3DFX_multisample"},
    {"GL_3DFX_tbuffer", "GL_3DFX_tbuffer"},
    {"GL_3DFX_texture_compression_FXT1", "GL_3DFX_texture_compression_FXT1"},
    {"WGL_3DFX_multisample", "WGL_3DFX_multisample"},
    // APPLE
    {"GL_APPLE_client_storage", "GL_APPLE_client_storage"},
    {"GL_APPLE_element_array", "GL_APPLE_element_array"},
    {"GL_APPLE_fence", "GL_APPLE_fence"},
    {"GL_APPLE_specular_vector", "GL_APPLE_specular_vector"},
    {"GL_APPLE_transform_hint", "GL_APPLE_transform_hint"},
    {"GL_APPLE_vertex_array_object", "GL_APPLE_vertex_array_object"},
    {"GL_APPLE_vertex_array_range", "GL_APPLE_vertex_array_range"},
    {"GL_APPLE_ycbcr_422", "GL_APPLE_ycbcr_422"},
    // ARB
    {"GL_ARB_color_buffer_float", "GL_ARB_color_buffer_float"},
    {"GL_ARB_depth_texture", "GL_ARB_depth_texture"},
    {"GL_ARB_draw_buffers", "GL_ARB_draw_buffers"},
    {"GL_ARB_fragment_program", "GL_ARB_fragment_program"},
    {"GL_ARB_fragment_program_shadow", "GL_ARB_fragment_program_shadow"},
    {"GL_ARB_fragment_shader", "GL_ARB_fragment_shader"},
    {"GL_ARB_half_float_pixel", "GL_ARB_half_float_pixel"},
    {"GL_ARB_imaging", "GL_ARB_imaging"},
    {"GL_ARB_matrix_palette", "GL_ARB_matrix_palette"},
    {"GL_ARB_multisample", "GL_ARB_multisample"},
    {"GL_ARB_multitexture", "GL_ARB_multitexture"},
    {"GL_ARB_occlusion_query", "GL_ARB_occlusion_query"},
    {"GL_ARB_pixel_buffer_object", "GL_ARB_pixel_buffer_object"},
    {"GL_ARB_point_parameters", "GL_ARB_point_parameters"},
    {"GL_ARB_point_sprite", "GL_ARB_point_sprite"},
    {"GL_ARB_shader_objects", "GL_ARB_shader_objects"},
    {"GL_ARB_shading_language_100", "GL_ARB_shading_language_100"},
    {"GL_ARB_shadow", "GL_ARB_shadow"},
    {"GL_ARB_shadow_ambient", "GL_ARB_shadow_ambient"},
    {"GL_ARB_texture_border_clamp", "GL_ARB_texture_border_clamp"},
    {"GL_ARB_texture_compression", "GL_ARB_texture_compression"},
    {"GL_ARB_texture_cube_map", "GL_ARB_texture_cube_map"},
    {"GL_ARB_texture_env_add", "GL_ARB_texture_env_add"},
    {"GL_ARB_texture_env_combine", "GL_ARB_texture_env_combine"},
    {"GL_ARB_texture_env_crossbar", "GL_ARB_texture_env_crossbar"},
    {"GL_ARB_texture_env_dot3", "GL_ARB_texture_env_dot3"},
    {"GL_ARB_texture_float", "GL_ARB_texture_float"},
    {"GL_ARB_texture_mirrored_repeat", "GL_ARB_texture_mirrored_repeat"},
    {"GL_ARB_texture_non_power_of_two", "GL_ARB_texture_non_power_of_two"},
    {"GL_ARB_texture_rectangle", "GL_ARB_texture_rectangle"},
    {"GL_ARB_transpose_matrix", "GL_ARB_transpose_matrix"},
    {"GL_ARB_vertex_blend", "GL_ARB_vertex_blend"},
    {"GL_ARB_vertex_buffer_object", "GL_ARB_vertex_buffer_object"},
    {"GL_ARB_vertex_program", "GL_ARB_vertex_program"},
    {"GL_ARB_vertex_shader", "GL_ARB_vertex_shader"},
    {"GL_ARB_window_pos", "GL_ARB_window_pos"},
    {"WGL_ARB_buffer_region", "WGL_ARB_buffer_region"},
    {"WGL_ARB_extensions_string", "WGL_ARB_extensions_string"},
    {"WGL_ARB_make_current_read", "WGL_ARB_make_current_read"},
    {"WGL_ARB_multisample", "WGL_ARB_multisample"},
    {"WGL_ARB_pbuffer", "WGL_ARB_pbuffer"},
    {"WGL_ARB_pixel_format", "WGL_ARB_pixel_format"},
    {"WGL_ARB_pixel_format_float", "WGL_ARB_pixel_format_float"},
    {"WGL_ARB_render_texture", "WGL_ARB_render_texture"},
    // ATI
    {"GL_ATI_draw_buffers", "GL_ATI_draw_buffers"},
    {"GL_ATI_element_array", "GL_ATI_element_array"},
    {"GL_ATI_envmap_bumpmap", "GL_ATI_envmap_bumpmap"},
    {"GL_ATI_fragment_shader", "GL_ATI_fragment_shader"},
    {"GL_ATI_map_object_buffer", "GL_ATI_map_object_buffer"},
    {"GL_ATI_pn_triangles", "GL_ATI_pn_triangles"},
    {"GL_ATI_separate_stencil", "GL_ATI_separate_stencil"},
    {"GL_ATI_text_fragment_shader", "GL_ATI_text_fragment_shader"},
    {"GL_ATI_texture_env_combine3", "GL_ATI_texture_env_combine3"},
    {"GL_ATI_texture_float", "GL_ATI_texture_float"},
    {"GL_ATI_texture_mirror_once", "GL_ATI_texture_mirror_once"},
    {"GL_ATI_vertex_array_object", "GL_ATI_vertex_array_object"},
    {"GL_ATI_vertex_attrib_array_object", "GL_ATI_vertex_attrib_array_object"},
    {"GL_ATI_vertex_streams", "GL_ATI_vertex_streams"},
    {"WGL_ATI_pixel_format_float", "WGL_ATI_pixel_format_float"},
    // EXT
    {"GL_EXT_422_pixels", "GL_EXT_422_pixels"},
    {"GL_EXT_abgr", "GL_EXT_abgr"},
    {"GL_EXT_bgra", "GL_EXT_bgra"},
    {"GL_EXT_blend_color", "GL_EXT_blend_color"},
    {"GL_EXT_blend_equation_separate", "GL_EXT_blend_equation_separate"},
    {"GL_EXT_blend_func_separate", "GL_EXT_blend_func_separate"},
    {"GL_EXT_blend_logic_op", "GL_EXT_blend_logic_op"},
    {"GL_EXT_blend_minmax", "GL_EXT_blend_minmax"},
    {"GL_EXT_blend_subtract", "GL_EXT_blend_subtract"},
    {"GL_EXT_clip_volume_hint", "GL_EXT_clip_volume_hint"},
    {"GL_EXT_cmyka", "GL_EXT_cmyka"},
    {"GL_EXT_color_matrix", "GL_EXT_color_matrix"},
    {"GL_EXT_color_subtable", "GL_EXT_color_subtable"},
    {"GL_EXT_compiled_vertex_array", "GL_EXT_compiled_vertex_array"},
    {"GL_EXT_convolution", "GL_EXT_convolution"},
    {"GL_EXT_coordinate_frame", "GL_EXT_coordinate_frame"},
    {"GL_EXT_copy_texture", "GL_EXT_copy_texture"},
    {"GL_EXT_cull_vertex", "GL_EXT_cull_vertex"},
    {"GL_EXT_depth_bounds_test", "GL_EXT_depth_bounds_test"},
    {"GL_EXT_draw_range_elements", "GL_EXT_draw_range_elements"},
    {"GL_EXT_fog_coord", "GL_EXT_fog_coord"},
    {"GL_EXT_framebuffer_object", "GL_EXT_framebuffer_object"},
    {"GL_EXT_histogram", "GL_EXT_histogram"},
    {"GL_EXT_index_array_formats", "GL_EXT_index_array_formats"},
    {"GL_EXT_index_func", "GL_EXT_index_func"},
    {"GL_EXT_index_material", "GL_EXT_index_material"},
    {"GL_EXT_index_texture", "GL_EXT_index_texture"},
    {"GL_EXT_light_texture", "GL_EXT_light_texture"},
    {"GL_EXT_misc_attribute", "GL_EXT_misc_attribute"},
    {"GL_EXT_multi_draw_arrays", "GL_EXT_multi_draw_arrays"},
    {"GL_EXT_multisample", "GL_EXT_multisample"},
    {"GL_EXT_packed_pixels", "GL_EXT_packed_pixels"},
    {"GL_EXT_paletted_texture", "GL_EXT_paletted_texture"},
    {"GL_EXT_pixel_buffer_object", "GL_EXT_pixel_buffer_object"},
    {"GL_EXT_pixel_transform", "GL_EXT_pixel_transform"},
    {"GL_EXT_pixel_transform_color_table", "GL_EXT_pixel_transform_color_table"},
    {"GL_EXT_point_parameters", "GL_EXT_point_parameters"},
    {"GL_EXT_polygon_offset", "GL_EXT_polygon_offset"},
    {"GL_EXT_rescale_normal", "GL_EXT_rescale_normal"},
    {"GL_EXT_secondary_color", "GL_EXT_secondary_color"},
    {"GL_EXT_separate_specular_color", "GL_EXT_separate_specular_color"},
    {"GL_EXT_shadow_funcs", "GL_EXT_shadow_funcs"},
    {"GL_EXT_shared_texture_palette", "GL_EXT_shared_texture_palette"},
    {"GL_EXT_stencil_clear_tag", "GL_EXT_stencil_clear_tag"},
    {"GL_EXT_stencil_two_side", "GL_EXT_stencil_two_side"},
    {"GL_EXT_stencil_wrap", "GL_EXT_stencil_wrap"},
    {"GL_EXT_subtexture", "GL_EXT_subtexture"},
    {"GL_EXT_texture", "GL_EXT_texture"},
    {"GL_EXT_texture3D", "GL_EXT_texture3d"},
    {"GL_EXT_texture_compression_dxt1", "GL_EXT_texture_compression_dxt1"},
    {"GL_EXT_texture_compression_s3tc", "GL_EXT_texture_compression_s3tc"},
    {"GL_EXT_texture_cube_map", "GL_EXT_texture_cube_map"},
    {"GL_EXT_texture_edge_clamp", "GL_EXT_texture_edge_clamp"},
    {"GL_EXT_texture_env_add", "GL_EXT_texture_env_add"},
    {"GL_EXT_texture_env_combine", "GL_EXT_texture_env_combine"},
    {"GL_EXT_texture_env_dot3", "GL_EXT_texture_env_dot3"},
    {"GL_EXT_texture_filter_anisotropic", "GL_EXT_texture_filter_anisotropic"},
    {"GL_EXT_texture_lod_bias", "GL_EXT_texture_lod_bias"},
    {"GL_EXT_texture_mirror_clamp", "GL_EXT_texture_mirror_clamp"},
    {"GL_EXT_texture_object", "GL_EXT_texture_object"},
    {"GL_EXT_texture_perturb_normal", "GL_EXT_texture_perturb_normal"},
    {"GL_EXT_texture_rectangle", "GL_EXT_texture_rectangle"},
    {"GL_EXT_vertex_array", "GL_EXT_vertex_array"},
    {"GL_EXT_vertex_shader", "GL_EXT_vertex_shader"},
    {"GL_EXT_vertex_weighting", "GL_EXT_vertex_weighting"},
    {"WGL_EXT_depth_float", "WGL_EXT_depth_float"},
    {"WGL_EXT_display_color_table", "WGL_EXT_display_color_table"},
    {"WGL_EXT_extensions_string", "WGL_EXT_extensions_string"},
    {"WGL_EXT_make_current_read", "WGL_EXT_make_current_read"},
    {"WGL_EXT_multisample", "WGL_EXT_multisample"},
    {"WGL_EXT_pbuffer", "WGL_EXT_pbuffer"},
    {"WGL_EXT_pixel_format", "WGL_EXT_pixel_format"},
    {"WGL_EXT_swap_control", "WGL_EXT_swap_control"},
    // HP
    {"GL_HP_convolution_border_modes", "GL_HP_convolution_border_modes"},
    {"GL_HP_image_transform", "GL_HP_image_transform"},
    {"GL_HP_occlusion_test", "GL_HP_occlusion_test"},
    {"GL_HP_texture_lighting", "GL_HP_texture_lighting"},
    // I3D
    {"WGL_I3D_digital_video_control", "WGL_I3D_digital_video_control"},
    {"WGL_I3D_gamma", "WGL_I3D_gamma"},
    {"WGL_I3D_genlock", "WGL_I3D_genlock"},
    {"WGL_I3D_image_buffer", "WGL_I3D_image_buffer"},
    {"WGL_I3D_swap_frame_lock", "WGL_I3D_swap_frame_lock"},
    {"WGL_I3D_swap_frame_usage", "WGL_I3D_swap_frame_usage"},
    // IBM
    {"GL_IBM_cull_vertex", "GL_IBM_cull_vertex"},
    {"GL_IBM_multimode_draw_arrays", "GL_IBM_multimode_draw_arrays"},
    {"GL_IBM_rasterpos_clip", "GL_IBM_rasterpos_clip"},
    {"GL_IBM_texture_mirrored_repeat", "GL_IBM_texture_mirrored_repeat"},
    {"GL_IBM_vertex_array_lists", "GL_IBM_vertex_array_lists"},
    // INGR
    {"GL_INGR_blend_func_separate", "GL_INGR_blend_func_separate"},
    {"GL_INGR_color_clamp", "GL_INGR_color_clamp"},
    {"GL_INGR_interlace_read", "GL_INGR_interlace_read"},
    {"GL_INGR_palette_buffer", "GL_INGR_palette_buffer"},
    // INTEL
    {"GL_INTEL_parallel_arrays", "GL_INTEL_parallel_arrays"},
    {"GL_INTEL_texture_scissor", "GL_INTEL_texture_scissor"},
    // MESA
    {"GL_MESA_resize_buffers", "GL_MESA_resize_buffers"},
    {"GL_MESA_window_pos", "GL_MESA_window_pos"},
    // NV
    {"GL_NV_blend_square", "GL_NV_blend_square"},
    {"GL_NV_copy_depth_to_color", "GL_NV_copy_depth_to_color"},
    {"GL_NV_depth_clamp", "GL_NV_depth_clamp"},
    {"GL_NV_evaluators", "GL_NV_evaluators"},
    {"GL_NV_fence", "GL_NV_fence"},
    {"GL_NV_float_buffer", "GL_NV_float_buffer"},
    {"GL_NV_fog_distance", "GL_NV_fog_distance"},
    {"GL_NV_fragment_program", "GL_NV_fragment_program"},
    {"GL_NV_fragment_program_option", "GL_NV_fragment_program_option"},
    {"GL_NV_fragment_program2", "GL_NV_fragment_program2"},
    {"GL_NV_half_float", "GL_NV_half_float"},
    {"GL_NV_light_max_exponent", "GL_NV_light_max_exponent"},
    {"GL_NV_multisample_filter_hint", "GL_NV_multisample_filter_hint"},
    {"GL_NV_occlusion_query", "GL_NV_occlusion_query"},
    {"GL_NV_packed_depth_stencil", "GL_NV_packed_depth_stencil"},
    {"GL_NV_pixel_data_range", "GL_NV_pixel_data_range"},
    {"GL_NV_point_sprite", "GL_NV_point_sprite"},
    {"GL_NV_primitive_restart", "GL_NV_primitive_restart"},
    {"GL_NV_register_combiners", "GL_NV_register_combiners"},
    {"GL_NV_register_combiners2", "GL_NV_register_combiners2"},
    {"GL_NV_texgen_emboss", "GL_NV_texgen_emboss"},
    {"GL_NV_texgen_reflection", "GL_NV_texgen_reflection"},
    {"GL_NV_texture_compression_vtc", "GL_NV_texture_compression_vtc"},
    {"GL_NV_texture_env_combine4", "GL_NV_texture_env_combine4"},
    {"GL_NV_texture_expand_normal", "GL_NV_texture_expand_normal"},
    {"GL_NV_texture_rectangle", "GL_NV_texture_rectangle"},
    {"GL_NV_texture_shader", "GL_NV_texture_shader"},
    {"GL_NV_texture_shader2", "GL_NV_texture_shader2"},
    {"GL_NV_texture_shader3", "GL_NV_texture_shader3"},
    {"GL_NV_vertex_array_range", "GL_NV_vertex_array_range"},
    {"GL_NV_vertex_array_range2", "GL_NV_vertex_array_range2"},
    {"GL_NV_vertex_program", "GL_NV_vertex_program"},
    {"GL_NV_vertex_program1_1", "GL_NV_vertex_program1_1"},
    {"GL_NV_vertex_program2", "GL_NV_vertex_program2"},
    {"GL_NV_vertex_program2_option", "GL_NV_vertex_program2_option"},
    {"GL_NV_vertex_program3", "GL_NV_vertex_program3"},
    {"WGL_NV_float_buffer", "WGL_NV_float_buffer"},
    {"WGL_NV_render_depth_texture", "WGL_NV_render_depth_texture"},
    {"WGL_NV_render_texture_rectangle", "WGL_NV_render_texture_rectangle"},
    {"WGL_NV_vertex_array_range", "WGL_NV_vertex_array_range"},
    // OML
    {"GL_OML_interlace", "GL_OML_interlace"},
    {"GL_OML_resample", "GL_OML_resample"},
    {"GL_OML_subsample", "GL_OML_subsample"},
    {"WGL_OML_sync_control", "WGL_OML_sync_control"},
    // PGI
    {"GL_PGI_misc_hints", "GL_PGI_misc_hints"},
    {"GL_PGI_vertex_hints", "GL_PGI_vertex_hints"},
    // REND
    {"GL_REND_screen_coordinates", "GL_REND_screen_coordinates"},
    // S3
    {"GL_S3_s3tc", "GL_S3_s3tc"},
    // SGI
    {"GL_SGI_color_matrix", "GL_SGI_color_matrix"},
    {"GL_SGI_color_table", "GL_SGI_color_table"},
    {"GL_SGI_depth_pass_instrument", "GL_SGI_depth_pass_instrument"},
    {"GL_SGI_texture_color_table", "GL_SGI_texture_color_table"},
    // SGIS
    {"GL_SGIS_detail_texture", "GL_SGIS_detail_texture"},
    {"GL_SGIS_fog_function", "GL_SGIS_fog_function"},
    {"GL_SGIS_generate_mipmap", "GL_SGIS_generate_mipmap"},
    {"GL_SGIS_multisample", "GL_SGIS_multisample"},
    {"GL_SGIS_pixel_texture", "GL_SGIS_pixel_texture"},
    {"GL_SGIS_point_line_texgen", "GL_SGIS_point_line_texgen"},
    {"GL_SGIS_point_parameters", "GL_SGIS_point_parameters"},
    {"GL_SGIS_sharpen_texture", "GL_SGIS_sharpen_texture"},
    {"GL_SGIS_texture4D", "GL_SGIS_texture4d"},
    {"GL_SGIS_texture_border_clamp", "GL_SGIS_texture_border_clamp"},
    {"GL_SGIS_texture_color_mask", "GL_SGIS_texture_color_mask"},
    {"GL_SGIS_texture_edge_clamp", "GL_SGIS_texture_edge_clamp"},
    {"GL_SGIS_texture_filter4", "GL_SGIS_texture_filter4"},
    {"GL_SGIS_texture_lod", "GL_SGIS_texture_lod"},
    {"GL_SGIS_texture_select", "GL_SGIS_texture_select"},
    // SGIX
    {"GL_FfdMaskSGIX", "GL_FfdMaskSGIx"},
    {"GL_SGIX_async", "GL_SGIX_async"},
    {"GL_SGIX_async_histogram", "GL_SGIX_async_histogram"},
    {"GL_SGIX_async_pixel", "GL_SGIX_async_pixel"},
    {"GL_SGIX_blend_alpha_minmax", "GL_SGIX_blend_alpha_minmax"},
    {"GL_SGIX_calligraphic_fragment", "GL_SGIX_calligraphic_fragment"},
    {"GL_SGIX_clipmap", "GL_SGIX_clipmap"},
    {"GL_SGIX_convolution_accuracy", "GL_SGIX_convolution_accuracy"},
    {"GL_SGIX_depth_pass_instrument", "GL_SGIX_depth_pass_instrument"},
    {"GL_SGIX_depth_texture", "GL_SGIX_depth_texture"},
    {"GL_SGIX_flush_raster", "GL_SGIX_flush_raster"},
    {"GL_SGIX_fog_offset", "GL_SGIX_fog_offset"},
    {"GL_SGIX_fog_scale", "GL_SGIX_fog_scale"},
    {"GL_SGIX_fragment_lighting", "GL_SGIX_fragment_lighting"},
    {"GL_SGIX_framezoom", "GL_SGIX_framezoom"},
    {"GL_SGIX_igloo_interface", "GL_SGIX_igloo_interface"},
    {"GL_SGIX_impact_pixel_texture", "GL_SGIX_impact_pixel_texture"},
    {"GL_SGIX_instruments", "GL_SGIX_instruments"},
    {"GL_SGIX_interlace", "GL_SGIX_interlace"},
    {"GL_SGIX_ir_instrument1", "GL_SGIX_ir_instrument1"},
    {"GL_SGIX_list_priority", "GL_SGIX_list_priority"},
    {"GL_SGIX_pixel_texture", "GL_SGIX_pixel_texture"},
    {"GL_SGIX_pixel_tiles", "GL_SGIX_pixel_tiles"},
    {"GL_SGIX_polynomial_ffd", "GL_SGIX_polynomial_ffd"},
    {"GL_SGIX_reference_plane", "GL_SGIX_reference_plane"},
    {"GL_SGIX_resample", "GL_SGIX_resample"},
    {"GL_SGIX_scalebias_hint", "GL_SGIX_scalebias_hint"},
    {"GL_SGIX_shadow", "GL_SGIX_shadow"},
    {"GL_SGIX_shadow_ambient", "GL_SGIX_shadow_ambient"},
    {"GL_SGIX_sprite", "GL_SGIX_sprite"},
    {"GL_SGIX_subsample", "GL_SGIX_subsample"},
    {"GL_SGIX_tag_sample_buffer", "GL_SGIX_tag_sample_buffer"},
    {"GL_SGIX_texture_add_env", "GL_SGIX_texture_add_env"},
    {"GL_SGIX_texture_coordinate_clamp", "GL_SGIX_texture_coordinate_clamp"},
    {"GL_SGIX_texture_lod_bias", "GL_SGIX_texture_lod_bias"},
    {"GL_SGIX_texture_multi_buffer", "GL_SGIX_texture_multi_buffer"},
    {"GL_SGIX_texture_scale_bias", "GL_SGIX_texture_scale_bias"},
    {"GL_SGIX_texture_select", "GL_SGIX_texture_select"},
    {"GL_SGIX_vertex_preclip", "GL_SGIX_vertex_preclip"},
    {"GL_SGIX_ycrcb", "GL_SGIX_ycrcb"},
    {"GL_SGIX_ycrcb_subsample", "GL_SGIX_ycrcb_subsample"},
    {"GL_SGIX_ycrcba", "GL_SGIX_ycrcba"},
    // SUN
    {"GL_SUN_convolution_border_modes", "GL_SUN_convolution_border_modes"},
    {"GL_SUN_global_alpha", "GL_SUN_global_alpha"},
    {"GL_SUN_mesh_array", "GL_SUN_mesh_array"},
    {"GL_SUN_slice_accum", "GL_SUN_slice_accum"},
    {"GL_SUN_triangle_list", "GL_SUN_triangle_list"},
    {"GL_SUN_vertex", "GL_SUN_vertex"},
    // SUNX
    {"GL_SUNX_constant_data", "GL_SUNX_constant_data"},
    // WIN
    {"GL_WIN_phong_shading", "GL_WIN_phong_shading"},
    {"GL_WIN_specular_fog", "GL_WIN_specular_fog"},
    {"WIN_draw_range_elements", "WIN_draw_range_elements"},
    {"WIN_swap_hint", "WIN_swap_hint"},
};

constexpr gl_extension_group groups[] = {
    {"3DFX", "3DFx", 0, 4},
    {"APPLE", "Apple", 4, 8},
    {"ARB", "Extensions officially approved by the OpenGL Architecture Review Board", 12, 44},
    {"ATI", "ATI", 56, 15},
    {"EXT", "Extensions agreed upon by multiple OpenGL vendors", 71, 73},
    {"HP", "Hewlett-Packard", 144, 4},
    {"I3D", "", 148, 6},
    {"IBM", "International Business Machines", 154, 5},
    {"INGR", "", 159, 4},
    {"INTEL", "Intel", 163, 2},
    {"MESA", "Mesa 3D, the free portable implementation of OpenGL", 165, 2},
    {"NV", "NVIDIA", 167, 40},
    {"OML", "", 207, 4},
    {"PGI", "", 211, 2},
    {"REND", "", 213, 1},
    {"S3", "S3", 214, 1},
    {"SGI", "Silicon Graphics", 215, 4},
    {"SGIS", "", 219, 15},
    {"SGIX", "Silicon Graphics (experimental)", 234, 42},
    {"SUN", "Sun Microsystems", 276, 6},
    {"SUNX", "", 282, 1},
    {"WIN", "Microsoft", 283, 4},
};

static_assert(std::size(extensions) == known_extension_count);
static_assert(std::size(groups) == known_extension_group_count);

constexpr bool groups_cover_the_list() {
    int next = 0;
    for (const auto& group : groups) {
        if (group.first != next || group.count < 1) {
            return false;
        }
        next += group.count;
    }
    return next == known_extension_count;
}
static_assert(groups_cover_the_list());

}  // namespace

std::span<const gl_extension> known_extensions() {
    return extensions;
}

std::span<const gl_extension_group> known_extension_groups() {
    return groups;
}

std::span<const gl_extension> group_extensions(const gl_extension_group& group) {
    return std::span<const gl_extension>(extensions)
        .subspan(static_cast<size_t>(group.first), static_cast<size_t>(group.count));
}

bool has_extension_word(const std::string& text, const char* name) {
    const std::string_view wanted(name);
    if (wanted.empty()) {
        return false;
    }
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of(" \t\r\n", start), text.size());
        if (std::string_view(text).substr(start, end - start) == wanted) {
            return true;
        }
        start = end + 1;
    }
    return false;
}
