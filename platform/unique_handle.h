// One owner for every kind of Windows handle: the traits name the invalid value and the close
// call. Nothing in the program closes a handle by hand.
#pragma once

#include <windows.h>
#include <wincrypt.h>
#include <winhttp.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type value) : value_(value) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Type Get() const { return value_; }
    bool IsValid() const { return value_ != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }

    // Closes what is held, then hands out the slot for an out-parameter.
    Type* Receive() {
        Reset();
        return &value_;
    }

    Type Release() {
        Type value = value_;
        value_ = Traits::Invalid();
        return value;
    }

    // Closes what is held and takes the new value. Returns whether the close succeeded (true
    // when nothing was held), for the few places that report a failed close.
    bool Reset(Type value = Traits::Invalid()) {
        bool closed = true;
        if (value_ != Traits::Invalid()) closed = Traits::Close(value_);
        value_ = value;
        return closed;
    }

private:
    Type value_ = Traits::Invalid();
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return CloseHandle(h) != FALSE; }
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return CloseHandle(h) != FALSE; }
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return FindClose(h) != FALSE; }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return FreeLibrary(h) != FALSE; }
};

// Session, connection and request handles of WinHTTP alike.
struct InternetHandleTraits {
    using Type = HINTERNET;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return WinHttpCloseHandle(h) != FALSE; }
};

// A context of the system's cryptographic service provider.
struct CryptProviderTraits {
    using Type = HCRYPTPROV;
    static Type Invalid() { return 0; }
    static bool Close(Type h) { return CryptReleaseContext(h, 0) != FALSE; }
};

// Service control manager and service handles alike.
struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool Close(Type h) { return CloseServiceHandle(h) != FALSE; }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueInternet = UniqueHandle<InternetHandleTraits>;
using UniqueCryptProvider = UniqueHandle<CryptProviderTraits>;
using UniqueServiceHandle = UniqueHandle<ServiceHandleTraits>;
