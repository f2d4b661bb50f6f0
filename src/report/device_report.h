// The report of a machine without DirectX (cavio-report on Linux): one
// adapter per GPU, with its Vulkan pages and the OpenGL pages of the context
// that renders on it. The same document, JSON and compare as on Windows;
// only the DirectX group is empty.
#pragma once

#include "report/document.h"

struct gl_records;
struct vk_records;

// One adapter per Vulkan device, in Vulkan's order, then one for an OpenGL
// context that renders on none of them. A context belongs to the device of
// its PCI IDs, else to the one of its renderer's name. An adapter is named
// from the PCI list by its vendor and device IDs ("NVIDIA Corporation
// GA104 [GeForce RTX 3070]"), by the driver's name where the list has none.
// What the probes could not read goes to problems and the group's Summary.
report_document build_device_report(const vk_records& vulkan, const gl_records& opengl);
