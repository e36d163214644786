#include "toolkit/gui/OpenDialog.h"

#include <vector>

namespace tk {

std::optional<std::string> runOpenDialog(const OpenFileRequest& request,
                                         const std::function<void(OPENFILENAMEA&)>& prepare) {
    std::vector<char> filter(request.filter.begin(), request.filter.end());
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    filter.push_back('\0');
    filter.push_back('\0');
    std::vector<char> file(MAX_PATH * 4, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.data();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir =
        request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    dialog.Flags = request.options | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (prepare)
        prepare(dialog);
    if (!GetOpenFileNameA(&dialog))
        return std::nullopt;
    return std::string(file.data());
}

} // namespace tk
