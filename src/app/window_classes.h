// The main window's own window classes: the main window, whose procedure
// hands every message to its main_window, and the panels that hold controls.
#pragma once

#include <windows.h>

#include "app/window_class_names.h"

// Registers both classes, and the grid's, once per process: the main
// window's with main_procedure, the panels' with one that hands what their
// controls say to the main window.
void register_window_classes(WNDPROC main_procedure);
