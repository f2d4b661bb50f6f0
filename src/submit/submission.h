// The submission text: every page of every adapter, echoed by the very page
// fills that the window uses.
#pragma once

#include "probe/d3d_common.h"
#include "probe/gl_probe.h"
#include "report/report.h"

// Index of the first OpenGL record on the given monitor, or -1; none
// without an OpenGL probe.
int opengl_record_index(const gl_probe* opengl, HMONITOR monitor);

// Replaces pages.submission_text by the report of every Direct3D adapter and its
// OpenGL record. Leaves the pages filled with the last adapter's report and
// the echo off, also when a page fill raises.
void build_submission_text(report& pages, const direct3d_probe& direct3d, const gl_probe* opengl);
