// The report document from the records of the capture: every page of every
// adapter, written by the page table's writers.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "base/reason.h"
#include "report/document.h"

#include "report/page_writers.h"

struct dx_adapter;
struct gl_record;
struct startup_capture;

// One page written from a record of its group.
report_page write_page(const page_info& page, const dx_adapter& adapter);
report_page write_page(const page_info& page, const gl_record& record);
report_page write_page(const page_info& page, const vk_page_source& source);

// The report of one adapter: its DirectX pages, its OpenGL pages from opengl
// and its Vulkan pages from vulkan (none where null).
adapter_report build_adapter_report(const dx_adapter& adapter, const gl_record* opengl,
                                    const vk_page_source* vulkan = nullptr);

// Which Vulkan device each adapter shows, and how it was found: the device
// whose LUID is the adapter's, else the first with its vendor and device
// IDs, else the first device that matches no adapter, else the first.
struct vk_match {
    int device = -1;  // none without devices
    const char* by = "";
};
std::vector<vk_match> match_vulkan(std::span<const dx_adapter> adapters,
                                   std::span<const vk_device_record> devices);

// Index of the first OpenGL record on the adapter's monitor, or -1.
int opengl_record_of(const dx_adapter& adapter, std::span<const gl_record> opengl);

// Every adapter's report, each with the OpenGL record of its monitor and
// its Vulkan device, where an instance was read.
report_document build_report(std::span<const dx_adapter> adapters, std::span<const gl_record> opengl,
                             const vk_instance_record* instance = nullptr,
                             std::span<const vk_device_record> devices = {});

// Adds the reasons ("OpenGL: no pixel format on \\.\DISPLAY2") as a Problems
// section at the end of the group's Summary page, one row per reason named
// by its API; a group without pages gets a Summary page of them alone.
void add_problems(report_group& group, const std::vector<reason>& reasons);

// The report of everything the start-up capture read, with what it could
// not read on the Summary pages of the groups concerned and in problems.
report_document build_report(const startup_capture& capture);
