// The OpenGL probe on Linux: a context of the system's EGL (libEGL.so.1,
// loaded at run time) without a window, else GLX's on the X display, read as
// on Windows: the first context as the driver gives it, then the core
// profile at the highest version it accepts.
#pragma once

#include "probe/gl_records.h"

// One record for the default display's GPU; what could not be made or read
// is a reason ("OpenGL: no EGL display"). Never raises.
gl_records read_egl_opengl(bool with_core_context = true);

// The same through GLX, on the X display ($DISPLAY) with a one-pixel
// pbuffer; its PCI IDs where GLX_MESA_query_renderer says them.
gl_records read_glx_opengl(bool with_core_context = true);

// EGL's record, else GLX's where EGL could make no context.
gl_records read_linux_opengl();

// The PCI IDs of a DRM device node ("/dev/dri/renderD128") as its sysfs
// entry below root says them; zeros where it does not.
std::pair<uint32_t, uint32_t> drm_pci_ids(const std::string& node,
                                          const std::string& root = "/sys/class/drm");
