#include "toolkit/files/SystemError.h"

#include "toolkit/base/Handles.h"
#include "toolkit/text/CodePage.h"

namespace tk {

std::string systemErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    LocalMemory owned(text);
    std::string reason = wideToUtf8(std::wstring_view(text ? text : L"", text ? length : 0));
    reason.erase(reason.find_last_not_of(" .\r\n") + 1);
    return reason.empty() ? "Error " + std::to_string(code) : reason;
}

} // namespace tk
