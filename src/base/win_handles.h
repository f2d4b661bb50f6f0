// Small owners of window-system handles: each releases its handle once.
#pragma once

#include <windows.h>

#include <utility>

// A GDI object (font, brush, pen, bitmap), deleted with DeleteObject.
template <typename Handle>
class gdi_object {
public:
    gdi_object() = default;
    explicit gdi_object(Handle handle) : handle_(handle) {}
    ~gdi_object() { reset(); }
    gdi_object(const gdi_object&) = delete;
    gdi_object& operator=(const gdi_object&) = delete;
    gdi_object(gdi_object&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    gdi_object& operator=(gdi_object&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            DeleteObject(handle_);
        }
        handle_ = handle;
    }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    Handle handle_ = nullptr;
};

// Selects an object into a device context and restores the previous one.
class select_object {
public:
    select_object(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~select_object() { SelectObject(dc_, previous_); }
    select_object(const select_object&) = delete;
    select_object& operator=(const select_object&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context compatible with another, with a bitmap of the
// given size selected into it; deleted with its bitmap.
class memory_canvas {
public:
    memory_canvas(HDC compatible_with, int width, int height)
        : dc_(CreateCompatibleDC(compatible_with)),
          bitmap_(CreateCompatibleBitmap(compatible_with, width > 0 ? width : 1, height > 0 ? height : 1)),
          previous_(SelectObject(dc_, bitmap_.get())) {}
    ~memory_canvas() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    memory_canvas(const memory_canvas&) = delete;
    memory_canvas& operator=(const memory_canvas&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    gdi_object<HBITMAP> bitmap_;
    HGDIOBJ previous_;
};

// A window destroyed with its owner.
class window_handle {
public:
    window_handle() = default;
    explicit window_handle(HWND handle) : handle_(handle) {}
    ~window_handle() { reset(); }
    window_handle(const window_handle&) = delete;
    window_handle& operator=(const window_handle&) = delete;
    void reset(HWND handle = nullptr) {
        if (handle_ != nullptr && IsWindow(handle_)) {
            DestroyWindow(handle_);
        }
        handle_ = handle;
    }
    HWND get() const { return handle_; }
    HWND release() { return std::exchange(handle_, nullptr); }

private:
    HWND handle_ = nullptr;
};

// A window's device context from GetDC (null window: the screen's), given
// back with ReleaseDC.
class window_dc {
public:
    explicit window_dc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~window_dc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    window_dc(const window_dc&) = delete;
    window_dc& operator=(const window_dc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint's device context, ended with EndPaint.
class paint_dc {
public:
    explicit paint_dc(HWND window) : window_(window), dc_(BeginPaint(window, &info_)) {}
    ~paint_dc() { EndPaint(window_, &info_); }
    paint_dc(const paint_dc&) = delete;
    paint_dc& operator=(const paint_dc&) = delete;
    HDC get() const { return dc_; }
    const RECT& dirty() const { return info_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT info_{};
    HDC dc_;
};

// A menu, destroyed with its owner.
class menu_handle {
public:
    explicit menu_handle(HMENU menu) : menu_(menu) {}
    ~menu_handle() {
        if (menu_ != nullptr) {
            DestroyMenu(menu_);
        }
    }
    menu_handle(const menu_handle&) = delete;
    menu_handle& operator=(const menu_handle&) = delete;
    HMENU get() const { return menu_; }

private:
    HMENU menu_;
};

// A kernel object's handle (a file's), closed with its owner; it may hold
// INVALID_HANDLE_VALUE, as CreateFile answers a failure.
class handle {
public:
    explicit handle(HANDLE value) : value_(value) {}
    ~handle() {
        if (value_ != nullptr && value_ != INVALID_HANDLE_VALUE) {
            CloseHandle(value_);
        }
    }
    handle(const handle&) = delete;
    handle& operator=(const handle&) = delete;
    HANDLE get() const { return value_; }

private:
    HANDLE value_;
};
