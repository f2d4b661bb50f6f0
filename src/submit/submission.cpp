#include "submit/submission.h"

int opengl_record_index(const tqgl* opengl, HMONITOR monitor) {
    if (opengl == nullptr) {
        return -1;
    }
    for (int i = 0; i < opengl->count; ++i) {
        if (opengl->adapters[static_cast<size_t>(i)].monitor == monitor) {
            return i;
        }
    }
    return -1;
}

void BuildSubmissionText(report& pages, const tq3d& direct3d, const tqgl* opengl) {
    // The echo is on only while this runs, whatever leaves it.
    struct echo_scope {
        report& pages;
        explicit echo_scope(report& owner) : pages(owner) { pages.FEcho = true; }
        ~echo_scope() { pages.FEcho = false; }
    } echo(pages);

    pages.FSubmission = "%2.00%\r\n";
    const int count = direct3d.count;
    for (int i = 0; i < count; ++i) {
        const Tqdx_adapter adapter = direct3d.adapter(i);
        pages.FSubmission += "|card|\r\n@directx@\r\n";
        pages.FillDirect3DPages(adapter);
        const int gl = opengl_record_index(opengl, adapter.monitor);
        if (gl >= 0) {
            pages.FSubmission += "@opengl@\r\n";
            pages.FillOpenGLPages(opengl->adapter(gl));
        }
    }
}
