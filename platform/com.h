// Owners for what the Component Object Model hands out: interfaces (ComPtr), strings (BSTR),
// variants and one successful initialisation of the run time. Each releases what it holds when
// it goes out of scope, so no path forgets a release.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

class UniqueBstr {
public:
    UniqueBstr() = default;
    // Null when the string cannot be allocated; callers check with IsValid.
    explicit UniqueBstr(const wchar_t* text) : value_(SysAllocString(text)) {}
    ~UniqueBstr() { SysFreeString(value_); }

    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR Get() const { return value_; }
    bool IsValid() const { return value_ != nullptr; }

private:
    BSTR value_ = nullptr;
};

class UniqueVariant {
public:
    // VT_EMPTY: the "not given" argument of the scheduler's calls.
    UniqueVariant() { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }

    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    // A string variant; false (and left empty) when the string cannot be allocated.
    bool SetString(const wchar_t* text) {
        VariantClear(&value_);
        BSTR copy = SysAllocString(text);
        if (copy == nullptr) return false;
        value_.vt = VT_BSTR;
        value_.bstrVal = copy;
        return true;
    }

    const VARIANT& Get() const { return value_; }

private:
    VARIANT value_;
};

// Pairs one successful CoInitialize or CoInitializeEx with its CoUninitialize.
class ComInitialization {
public:
    static ComInitialization SingleThreaded() { return ComInitialization(CoInitialize(nullptr)); }
    static ComInitialization MultiThreaded() {
        return ComInitialization(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    }
    ~ComInitialization() { End(); }

    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

    bool Succeeded() const { return initialised_; }
    // Ends COM use now, for the steps that must release before they return.
    void End() {
        if (initialised_) CoUninitialize();
        initialised_ = false;
    }

private:
    explicit ComInitialization(HRESULT result) : initialised_(SUCCEEDED(result)) {}
    bool initialised_;
};
