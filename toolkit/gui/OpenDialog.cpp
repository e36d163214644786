#include "toolkit/gui/OpenDialog.h"

#include "toolkit/text/CodePage.h"

#include <algorithm>
#include <vector>

namespace tk {

std::optional<std::string> runOpenDialog(const OpenFileRequest& request,
                                         const std::function<void(OPENFILENAMEW&)>& prepare) {
    std::wstring filter = utf8ToWide(request.filter);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.append(2, L'\0');
    const std::wstring initialFolder = utf8ToWide(request.initialFolder);
    const std::wstring title = utf8ToWide(request.title);
    // Room for the longest path the system takes, rather than MAX_PATH.
    std::vector<wchar_t> file(32 * 1024, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.Flags = request.options | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (prepare)
        prepare(dialog);
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    return wideToUtf8(file.data());
}

} // namespace tk
