#include "submit/submission.h"

int opengl_record_index(const gl_probe* opengl, HMONITOR monitor) {
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

void build_submission_text(report& pages, const direct3d_probe& direct3d, const gl_probe* opengl) {
    // The text grows in a local, echoed into only while this runs; whatever
    // ends the run, the echo stops and the text written is assigned whole.
    std::string text = "%2.00%\r\n";
    struct echo_scope {
        report& pages;
        std::string& text;
        echo_scope(report& owner, std::string& into) : pages(owner), text(into) {
            pages.echo_into(&text);
            pages.echo = true;
        }
        ~echo_scope() {
            pages.echo = false;
            pages.echo_into(nullptr);
            pages.submission_text = std::move(text);
        }
    } echo(pages, text);

    const int count = direct3d.count;
    for (int i = 0; i < count; ++i) {
        const dx_adapter adapter = direct3d.adapter(i);
        text += "|card|\r\n@directx@\r\n";
        pages.fill_directx_pages(adapter);
        const int gl = opengl_record_index(opengl, adapter.monitor);
        if (gl >= 0) {
            text += "@opengl@\r\n";
            pages.fill_opengl_pages(opengl->adapter(gl));
        }
    }
}
