// The submission text: every page of every adapter, echoed by the very page
// fills that the window uses.
#pragma once

#include "probe/qe_3d.h"
#include "probe/qe_3d_open_gl.h"
#include "report/report.h"

// Index of the first OpenGL record on the given monitor, or -1; none
// without an OpenGL probe.
int opengl_record_index(const tqgl* opengl, HMONITOR monitor);

// Replaces pages.FSubmission by the report of every Direct3D adapter and its
// OpenGL record. Leaves the pages filled with the last adapter's report and
// the echo off, also when a page fill raises.
void BuildSubmissionText(report& pages, const tq3d& direct3d, const tqgl* opengl);
