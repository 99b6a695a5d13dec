// The owned narrow string: one heap array of bytes ending in NUL. It carries UTF-8 paths and the
// policy file's raw bytes.
#pragma once

#include <cstddef>

namespace SASM {

class String {
public:
    String();
    String(const char* text);  // a null pointer gives the empty string
    String(const char* bytes, size_t length);
    String(const String& other);
    String& operator=(const String& other);
    String(String&& other) noexcept;
    String& operator=(String&& other) noexcept;
    ~String();

    // A moved-from string reads as empty.
    const char* CStr() const { return data_ ? data_ : ""; }
    size_t Length() const { return length_; }
    bool IsEmpty() const { return length_ == 0; }
    char* Data() { return data_; }

    // Byte for byte, case-sensitive, against a NUL-terminated byte string.
    bool operator==(const char* text) const;
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }

    String& Append(const char* text);
    String& Append(const String& other);
    String& operator+=(const char* text) { return Append(text); }
    String& operator+=(const String& other) { return Append(other); }

private:
    void Assign(const char* bytes, size_t length);

    char* data_;
    size_t length_;
};

}  // namespace SASM
