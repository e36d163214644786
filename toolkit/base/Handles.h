// Small RAII owners for handles: no raw CloseHandle or DeleteObject in
// program code. The owners of kernel objects are here; those of drawing
// objects and windows live with the libraries that make them.
#pragma once

#include <windows.h>

#include <utility>

namespace tk {

template <typename Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::null(); }
    [[nodiscard]] Type release() { return std::exchange(handle_, Traits::null()); }
    void reset(Type handle = Traits::null()) {
        if (handle_ != Traits::null())
            Traits::close(handle_);
        handle_ = handle;
    }

private:
    Type handle_ = Traits::null();
};

struct KernelTraits {
    using Type = HANDLE;
    static Type null() { return nullptr; }
    static void close(Type h) { CloseHandle(h); }
};
struct FileTraits {
    using Type = HANDLE;
    static Type null() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { CloseHandle(h); }
};
struct FindTraits {
    using Type = HANDLE;
    static Type null() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { FindClose(h); }
};
// Memory the system allocated for the caller, such as FormatMessage's text.
struct LocalTraits {
    using Type = HLOCAL;
    static Type null() { return nullptr; }
    static void close(Type h) { LocalFree(h); }
};

using KernelHandle = UniqueHandle<KernelTraits>;
using FileHandle = UniqueHandle<FileTraits>;
using FindHandle = UniqueHandle<FindTraits>;
using LocalMemory = UniqueHandle<LocalTraits>;

// Runs an action at scope exit, also when an exception leaves the scope: the
// second half of a paired call.
template <typename Action> class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { action_(); }

private:
    Action action_;
};

} // namespace tk
