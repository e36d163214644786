#include "toolkit/gui/RowTip.h"

#include "toolkit/base/Error.h"

namespace tk {

TTTOOLINFOW RowTip::tool() {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    // Tracked: shown and placed when the list says, not when the tooltip's
    // own timing would; transparent: the pointer acts on the row beneath.
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = list_;
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = text_.data();
    return tool;
}

void RowTip::show(int row, POINT origin, const std::wstring& text, HFONT font) {
    if (!window_) {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&classes);
        window_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, list_,
                                      nullptr, GetModuleHandleW(nullptr), nullptr));
        if (!window_)
            throw Error("Error creating window");
        TTTOOLINFOW added = tool();
        SendMessageW(window_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&added));
    }
    text_ = text;
    row_ = row;
    TTTOOLINFOW shown = tool();
    SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(window_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&shown));
    // The tooltip tells where its window goes for its text to start there.
    RECT place{origin.x, origin.y, origin.x, origin.y};
    MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&place), 2);
    SendMessageW(window_.get(), TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&place));
    SendMessageW(window_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(place.left, place.top));
    SendMessageW(window_.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&shown));
}

void RowTip::hide() {
    if (row_ < 0)
        return;
    row_ = -1;
    TTTOOLINFOW hidden = tool();
    SendMessageW(window_.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&hidden));
}

} // namespace tk
