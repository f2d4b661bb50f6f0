// What a screen reader reads of a report grid, through Active
// Accessibility: the grid is a list named by its page's caption, each row a
// list item named by the row's name, its value as the value and its
// description as the description; section rows are groupings, blank rows
// separators. The object looks the grid up by its window at every call, so
// it outlives the window harmlessly.
#include "app/grid_accessible.h"

#include <oleacc.h>

#include <string>

#include "app/controls.h"
#include "app/grid_access.h"
#include "base/text.h"

namespace {

// The child id of a grid row: 1 for the first data row.
LONG child_of(const grid_model& model, int row) {
    return row - model.fixed_rows() + 1;
}

// The model of a grid that still exists, or null.
const grid_model* model_of(HWND grid) {
    const grid_access* access = grid_access_of(grid);
    return access != nullptr ? &access->model() : nullptr;
}

// Where a row lies on the screen; an empty place where the grid is gone.
bool row_on_screen(HWND grid, int row, RECT* place) {
    const grid_access* access = grid_access_of(grid);
    if (access == nullptr) {
        *place = RECT{};
        return false;
    }
    return access->row_on_screen(row, place);
}

BSTR bstr_of(const std::string& text) {
    const std::wstring wide = wide_of(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

class grid_accessible final : public IAccessible {
public:
    explicit grid_accessible(HWND grid) : grid_(grid) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(id, __uuidof(IUnknown)) || IsEqualIID(id, __uuidof(IDispatch)) ||
            IsEqualIID(id, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: clients of Active Accessibility call the interface itself.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!IsWindow(grid_)) {
            return RPC_E_DISCONNECTED;
        }
        return AccessibleObjectFromWindow(grid_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        const grid_model* model = model_of(grid_);
        if (model == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        *count = static_cast<LONG>(model->shown().rows.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        *object = nullptr;
        // Rows are simple elements of the grid's object.
        return row_of(child) >= 0 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return text_of(child, name, [](const grid_model& model, const report_row* row) {
            return row == nullptr ? std::string(model.page().caption) : row->name;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return text_of(child, value, [](const grid_model& model, const report_row* row) {
            if (row == nullptr) {
                return std::string();
            }
            // In a comparison, the other report's value follows.
            const size_t index = static_cast<size_t>(row - model.shown().rows.data());
            const std::string compared = model.comparing() ? model.compared_value(index) : "";
            return compared.empty() ? row->value : row->value + ", compared: " + compared;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return text_of(child, description, [](const grid_model&, const report_row* row) {
            return row == nullptr ? std::string() : row->description;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const grid_model* model = model_of(grid_);
        const int index = row_of(child);
        if (model == nullptr || index < 0) {
            return model == nullptr ? RPC_E_DISCONNECTED : E_INVALIDARG;
        }
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_LIST;
        if (index > 0) {
            const row_kind kind = model->shown().rows[static_cast<size_t>(index - 1)].kind;
            role->lVal = kind == row_kind::section ? ROLE_SYSTEM_GROUPING
                         : kind == row_kind::blank ? ROLE_SYSTEM_SEPARATOR
                                                   : ROLE_SYSTEM_LISTITEM;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const grid_model* model = model_of(grid_);
        const int index = row_of(child);
        if (model == nullptr || index < 0) {
            return model == nullptr ? RPC_E_DISCONNECTED : E_INVALIDARG;
        }
        const bool focused = GetFocus() == grid_;
        state->vt = VT_I4;
        if (index == 0) {
            state->lVal = STATE_SYSTEM_FOCUSABLE | (focused ? STATE_SYSTEM_FOCUSED : 0);
            return S_OK;
        }
        const int row = model->fixed_rows() + index - 1;
        const row_kind kind = model->shown().rows[static_cast<size_t>(index - 1)].kind;
        LONG flags = STATE_SYSTEM_READONLY;
        if (kind != row_kind::blank) {
            flags |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        }
        if (model->row_selected(row)) {
            flags |= STATE_SYSTEM_SELECTED;
        }
        if (focused && model->current_row == row) {
            flags |= STATE_SYSTEM_FOCUSED;
        }
        RECT place{};
        if (!row_on_screen(grid_, row, &place)) {
            flags |= STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE;
        }
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        *help = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        *file = nullptr;
        *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
        *shortcut = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        const grid_model* model = model_of(grid_);
        VariantInit(child);
        if (model == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (GetFocus() != grid_) {
            return S_FALSE;
        }
        child->vt = VT_I4;
        child->lVal = model->shown().rows.empty() ? CHILDID_SELF : child_of(*model, model->current_row);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override {
        const grid_model* model = model_of(grid_);
        VariantInit(selected);
        if (model == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (model->shown().rows.empty()) {
            return S_FALSE;
        }
        // The current row stands for the selection it ends.
        selected->vt = VT_I4;
        selected->lVal = child_of(*model, model->current_row);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* action) override {
        *action = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        const grid_model* model = model_of(grid_);
        const int index = row_of(child);
        if (model == nullptr || index <= 0) {
            return model == nullptr ? RPC_E_DISCONNECTED : E_INVALIDARG;
        }
        if ((flags & SELFLAG_TAKEFOCUS) != 0) {
            SetFocus(grid_);
        }
        if ((flags & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) != 0) {
            if (grid_access* access = grid_access_of(grid_)) {
                access->select_row(model->fixed_rows() + index - 1);
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        const grid_model* model = model_of(grid_);
        const int index = row_of(child);
        if (model == nullptr || index < 0) {
            return model == nullptr ? RPC_E_DISCONNECTED : E_INVALIDARG;
        }
        RECT place{};
        if (index == 0) {
            GetWindowRect(grid_, &place);
        } else {
            row_on_screen(grid_, model->fixed_rows() + index - 1, &place);
        }
        *left = place.left;
        *top = place.top;
        *width = place.right - place.left;
        *height = place.bottom - place.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        const grid_model* model = model_of(grid_);
        const int index = row_of(start);
        VariantInit(end);
        if (model == nullptr || index < 0) {
            return model == nullptr ? RPC_E_DISCONNECTED : E_INVALIDARG;
        }
        const int count = static_cast<int>(model->shown().rows.size());
        int to = -1;
        if (index == 0 && direction == NAVDIR_FIRSTCHILD) {
            to = 1;
        } else if (index == 0 && direction == NAVDIR_LASTCHILD) {
            to = count;
        } else if (index > 0 && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN)) {
            to = index + 1;
        } else if (index > 0 && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP)) {
            to = index - 1;
        }
        if (to < 1 || to > count) {
            return S_FALSE;
        }
        end->vt = VT_I4;
        end->lVal = to;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        const grid_model* model = model_of(grid_);
        VariantInit(child);
        if (model == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        RECT area{};
        GetWindowRect(grid_, &area);
        if (!PtInRect(&area, POINT{x, y})) {
            return S_FALSE;
        }
        const grid_access* access = grid_access_of(grid_);
        const int row = access != nullptr ? access->row_at_screen(POINT{x, y}) : -1;
        child->vt = VT_I4;
        child->lVal = row >= model->fixed_rows() &&
                              row - model->fixed_rows() < static_cast<int>(model->shown().rows.size())
                          ? child_of(*model, row)
                          : CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    // 0 for the grid itself, 1 to n for its rows, -1 for anything else.
    int row_of(const VARIANT& child) const {
        const grid_model* model = model_of(grid_);
        if (model == nullptr || child.vt != VT_I4) {
            return -1;
        }
        return child.lVal >= 0 && child.lVal <= static_cast<LONG>(model->shown().rows.size())
                   ? static_cast<int>(child.lVal)
                   : -1;
    }

    template <typename Text>
    HRESULT text_of(const VARIANT& child, BSTR* out, Text text) const {
        *out = nullptr;
        const grid_model* model = model_of(grid_);
        const int index = row_of(child);
        if (model == nullptr || index < 0) {
            return model == nullptr ? RPC_E_DISCONNECTED : E_INVALIDARG;
        }
        const std::string value =
            text(*model, index == 0 ? nullptr : &model->shown().rows[static_cast<size_t>(index - 1)]);
        if (value.empty()) {
            return S_FALSE;
        }
        *out = bstr_of(value);
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HWND grid_;
    LONG references_ = 1;
};

}  // namespace

LRESULT grid_accessible_result(HWND grid, WPARAM flags) {
    use_com_here();
    auto* object = new grid_accessible(grid);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), flags, object);
    object->Release();
    return result;
}

void grid_notify(HWND grid, DWORD event, int row) {
    const grid_model* model = model_of(grid);
    if (model == nullptr) {
        return;
    }
    const LONG child = row < model->fixed_rows() ? CHILDID_SELF : child_of(*model, row);
    NotifyWinEvent(event, grid, OBJID_CLIENT, child);
}
