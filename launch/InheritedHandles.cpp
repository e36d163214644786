#include "launch/InheritedHandles.h"

#include <algorithm>

namespace launch {

InheritedHandles::InheritedHandles(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
    std::erase(handles_, nullptr);
    std::sort(handles_.begin(), handles_.end());
    handles_.erase(std::unique(handles_.begin(), handles_.end()), handles_.end());
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    if (!InitializeProcThreadAttributeList(list(), 1, 0, &size))
        return;
    initialized_ = true;
    updated_ =
        UpdateProcThreadAttribute(list(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                  handles_.size() * sizeof(HANDLE), nullptr, nullptr);
}

InheritedHandles::~InheritedHandles() {
    if (initialized_)
        DeleteProcThreadAttributeList(list());
}

LPPROC_THREAD_ATTRIBUTE_LIST InheritedHandles::list() {
    return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
}

} // namespace launch
