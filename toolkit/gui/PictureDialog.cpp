// The picture-open dialog: the system's file-open dialog with a child
// template that adds an owner-drawn preview pane at its right edge.
#include "toolkit/gui/OpenDialog.h"
#include "toolkit/pictures/Picture.h"
#include "toolkit/text/CodePage.h"

#include <dlgs.h>

#include <algorithm>
#include <vector>

namespace tk {
namespace {

constexpr WORD previewId = 1000;
constexpr short previewWidth = 110; // dialog units
constexpr int margin = 8;           // pixels
// Larger files are not previewed: reading them would stall the dialog.
constexpr ULONGLONG previewLimit = 4u << 20;

// The pane is drawn once into a bitmap of its size and repainted from it: a
// metafile would be played again on every repaint.
struct PreviewState {
    Picture picture;
    BitmapHandle pane;
    SIZE paneSize{};
};

// A child dialog template in memory: stc32 stands for the standard controls,
// so the extra width of the template opens at their right.
std::vector<DWORD> previewTemplate() {
    std::vector<WORD> words;
    auto add32 = [&](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    auto addItem = [&](DWORD style, short x, short width, WORD id) {
        if (words.size() % 2)
            words.push_back(0); // items start on a DWORD boundary
        add32(style);
        add32(0);
        for (short value : {x, short{0}, width, short{10}})
            words.push_back(static_cast<WORD>(value));
        words.push_back(id);
        words.insert(words.end(), {0xFFFF, 0x0082, 0, 0}); // a static, no text, no data
    };
    add32(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL);
    add32(0);
    words.push_back(2);
    for (short value : {short{0}, short{0}, short(previewWidth + 8), short{10}})
        words.push_back(static_cast<WORD>(value));
    words.insert(words.end(), {0, 0, 0}); // no menu, default class, no title
    addItem(WS_CHILD, 0, 1, stc32);
    addItem(WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 4, previewWidth, previewId);
    std::vector<DWORD> block((words.size() + 1) / 2, 0);
    std::copy(words.begin(), words.end(), reinterpret_cast<WORD*>(block.data()));
    return block;
}

Picture loadPreview(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(utf8ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    ULONGLONG size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    if (size > previewLimit)
        return {};
    try {
        return Picture::fromFile(path);
    } catch (...) {
        return {};
    }
}

void layoutPreview(HWND dialog) {
    HWND pane = GetDlgItem(dialog, previewId);
    RECT client;
    GetClientRect(dialog, &client);
    RECT width{0, 0, previewWidth, 0};
    MapDialogRect(dialog, &width);
    MoveWindow(pane, client.right - margin - width.right, margin, width.right,
               std::max(0L, client.bottom - 3 * margin), TRUE);
}

// The preview makes the dialog wide: centred, it stays on the screen.
void centreOnScreen(HWND window) {
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT rect;
    GetWindowRect(window, &rect);
    int left = area.left + std::max(0L, (area.right - area.left - (rect.right - rect.left)) / 2);
    int top = area.top + std::max(0L, (area.bottom - area.top - (rect.bottom - rect.top)) / 2);
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Scaled down to fit, never up, and centred.
RECT fitted(const RECT& pane, int width, int height) {
    int paneWidth = pane.right - pane.left;
    int paneHeight = pane.bottom - pane.top;
    double scale = std::min({1.0, double(paneWidth) / width, double(paneHeight) / height});
    int w = std::max(1, int(width * scale));
    int h = std::max(1, int(height * scale));
    int left = pane.left + (paneWidth - w) / 2;
    int top = pane.top + (paneHeight - h) / 2;
    return {left, top, left + w, top + h};
}

void drawPane(HDC dc, RECT pane, const Picture& picture) {
    FillRect(dc, &pane, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &pane, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (!picture.empty() && picture.width() > 0 && picture.height() > 0)
        picture.draw(dc, fitted(pane, picture.width(), picture.height()), true, false);
}

void drawPreview(const DRAWITEMSTRUCT& item, PreviewState& state) {
    SIZE size{item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top};
    MemoryDc memory(CreateCompatibleDC(item.hDC));
    if (!state.pane || size.cx != state.paneSize.cx || size.cy != state.paneSize.cy) {
        state.pane = BitmapHandle(CreateCompatibleBitmap(item.hDC, size.cx, size.cy));
        state.paneSize = size;
        SelectObjectScope select(memory.get(), state.pane.get());
        drawPane(memory.get(), RECT{0, 0, size.cx, size.cy}, state.picture);
    }
    SelectObjectScope select(memory.get(), state.pane.get());
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, size.cx, size.cy, memory.get(), 0, 0,
           SRCCOPY);
}

void selectionChanged(HWND dialog, PreviewState& state) {
    std::vector<wchar_t> path(32 * 1024, L'\0');
    LRESULT length = SendMessageW(GetParent(dialog), CDM_GETFILEPATH, path.size(),
                                  reinterpret_cast<LPARAM>(path.data()));
    state.picture = length > 0 ? loadPreview(wideToUtf8(path.data())) : Picture();
    state.pane.reset();
    InvalidateRect(GetDlgItem(dialog, previewId), nullptr, TRUE);
}

INT_PTR handlePreviewMessage(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
        return TRUE;
    }
    auto* state = reinterpret_cast<PreviewState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!state)
        return FALSE;
    switch (message) {
    case WM_SIZE:
        layoutPreview(dialog);
        return FALSE;
    case WM_NOTIFY:
        switch (reinterpret_cast<OFNOTIFYW*>(lParam)->hdr.code) {
        case CDN_INITDONE:
            layoutPreview(dialog);
            centreOnScreen(GetParent(dialog));
            break;
        case CDN_SELCHANGE:
            selectionChanged(dialog, *state);
            break;
        }
        return FALSE;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != previewId)
            return FALSE;
        drawPreview(*item, *state);
        return TRUE;
    }
    }
    return FALSE;
}

// A callback from the system: nothing may escape it. A preview that fails
// leaves the pane empty.
UINT_PTR CALLBACK previewHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return static_cast<UINT_PTR>(handlePreviewMessage(dialog, message, wParam, lParam));
    } catch (...) {
        if (auto* state = reinterpret_cast<PreviewState*>(GetWindowLongPtrW(dialog, DWLP_USER))) {
            state->picture = Picture();
            state->pane.reset();
        }
        return 0;
    }
}

} // namespace

std::optional<std::string> runPictureDialog(const OpenFileRequest& request) {
    PreviewState state;
    std::vector<DWORD> layout = previewTemplate();
    return runOpenDialog(request, [&](OPENFILENAMEW& dialog) {
        dialog.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
        // With OFN_ENABLETEMPLATEHANDLE this names the template's memory.
        dialog.hInstance = reinterpret_cast<HINSTANCE>(layout.data());
        dialog.lpfnHook = previewHook;
        dialog.lCustData = reinterpret_cast<LPARAM>(&state);
    });
}

} // namespace tk
