#include "sasm/string.h"

#include <cstring>
#include <utility>

namespace SASM {

namespace {
char* CopyBytes(const char* bytes, size_t length) {
    char* data = new char[length + 1];
    if (length != 0) std::memcpy(data, bytes, length);
    data[length] = '\0';
    return data;
}
}  // namespace

String::String() : data_(CopyBytes("", 0)), length_(0) {}

String::String(const char* text) : String(text, text ? std::strlen(text) : 0) {}

String::String(const char* bytes, size_t length)
    : data_(CopyBytes(bytes, length)), length_(length) {}

String::String(const String& other) : String(other.data_, other.length_) {}

String& String::operator=(const String& other) {
    if (this != &other) Assign(other.data_, other.length_);
    return *this;
}

String::String(String&& other) noexcept : data_(other.data_), length_(other.length_) {
    other.data_ = nullptr;
    other.length_ = 0;
}

String& String::operator=(String&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(length_, other.length_);
    return *this;
}

String::~String() { delete[] data_; }

void String::Assign(const char* bytes, size_t length) {
    char* data = CopyBytes(bytes, length);
    delete[] data_;
    data_ = data;
    length_ = length;
}

bool String::operator==(const char* text) const {
    if (text == nullptr) text = "";
    return data_ != nullptr ? std::strcmp(data_, text) == 0 : *text == '\0';
}

bool String::operator==(const String& other) const {
    return length_ == other.length_ && *this == other.data_;
}

String& String::Append(const char* text) {
    if (text == nullptr || *text == '\0') return *this;
    size_t extra = std::strlen(text);
    char* data = new char[length_ + extra + 1];
    if (length_ != 0) std::memcpy(data, data_, length_);
    std::memcpy(data + length_, text, extra + 1);
    delete[] data_;
    data_ = data;
    length_ += extra;
    return *this;
}

String& String::Append(const String& other) {
    String copy(other);  // other may be *this
    return Append(copy.CStr());
}

}  // namespace SASM
