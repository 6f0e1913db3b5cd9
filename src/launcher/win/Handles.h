// Owning holders for Win32 handles. The empty value is part of the type, and
// closing preserves GetLastError so that an error code read after a cleanup
// is still the one of the failed call.
#pragma once
#include <windows.h>

// Traits: the handle type, its empty value and how it is closed.
template <typename Traits>
class UniqueHandle {
    using T = typename Traits::Type;


public:
    UniqueHandle() = default;
    explicit UniqueHandle(T value) : value_(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    T get() const { return value_; }
    bool valid() const { return value_ != Traits::empty(); }
    explicit operator bool() const { return valid(); }

    T release() {
        T value = value_;
        value_ = Traits::empty();
        return value;
    }
    void reset(T value = Traits::empty()) {
        if (value_ != Traits::empty()) {
            DWORD error = GetLastError();
            Traits::close(value_);
            SetLastError(error);
        }
        value_ = value;
    }

private:
    T value_ = Traits::empty();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static HANDLE empty() { return nullptr; }
    static void close(HANDLE handle) { CloseHandle(handle); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE handle) { FindClose(handle); }
};
struct RegistryKeyTraits {
    using Type = HKEY;
    static HKEY empty() { return nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegistryKey = UniqueHandle<RegistryKeyTraits>;

// True when a file search on exactly path finds an entry. Paths of MAX_PATH
// characters or more count as absent.
bool fileExists(const char* path);
