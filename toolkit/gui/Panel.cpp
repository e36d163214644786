#include "toolkit/gui/Panel.h"

#include "toolkit/pictures/GdiHandles.h"
#include "toolkit/text/CodePage.h"

namespace tk {

Panel::Panel(Container& parent, Bounds bounds, PanelStyle style)
    : WinControl(parent, bounds), style_(std::move(style)), font_(style_.font) {
    RECT rect = bounds.rect();
    HWND window = createToolkitWindow(*this, style_.caption,
                                      WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE |
                                          (style_.border ? WS_BORDER : 0),
                                      WS_EX_CONTROLPARENT, rect, parent.containerHandle());
    adopt(window, font_);
}

void Panel::collectFocusOrder(std::vector<WinControl*>& order) {
    for (Control* control : controls())
        if (WinControl* windowed = control->asWinControl())
            windowed->collectFocusOrder(order);
}

void Panel::paintBackground(HDC dc, const RECT& client) {
    Container::paintBackground(dc, client);
    RECT rect = client;
    if (style_.outerBevel) {
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
        InflateRect(&rect, -1, -1);
    }
    if (style_.innerBevel)
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    if (!style_.caption.empty()) {
        SelectObjectScope select(dc, font_.handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, font_.color());
        RECT text = client;
        std::wstring caption = utf8ToWide(style_.caption);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

LRESULT Panel::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handleContainerMessage(message, wParam, lParam, result))
        return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace tk
