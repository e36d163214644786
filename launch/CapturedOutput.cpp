#include "launch/CapturedOutput.h"

#include "launch/MameReport.h"

#include <algorithm>

namespace launch {

CapturedOutput::CapturedOutput() {
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || !GetTempFileNameW(folder, L"kst", 0, name))
        return;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    file_.reset(CreateFileW(name, GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable,
                            OPEN_EXISTING, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                            nullptr));
    if (!file_)
        DeleteFileW(name);
}

std::string CapturedOutput::tail() const {
    LARGE_INTEGER size{};
    if (!file_ || !GetFileSizeEx(file_.get(), &size))
        return {};
    // One byte more than the tail keeps tells it that older output was left.
    const auto capacity = static_cast<LONGLONG>(OutputTail::defaultCapacity);
    LONGLONG start = std::max<LONGLONG>(0, size.QuadPart - capacity - 1);
    std::string bytes(static_cast<std::size_t>(size.QuadPart - start), '\0');
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(start);
    at.OffsetHigh = static_cast<DWORD>(start >> 32);
    DWORD got = 0;
    if (!ReadFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, &at))
        return {};
    bytes.resize(got);
    OutputTail tail;
    tail.append(bytes);
    return tail.text();
}

} // namespace launch
