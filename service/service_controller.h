// The registered update service as seen from outside: its program, name and display name.
#pragma once

#include <string>

extern const wchar_t kServiceName[];
extern const wchar_t kServiceDisplayName[];

class ServiceController {
public:
    ServiceController(std::wstring imagePath, std::wstring serviceName, std::wstring displayName)
        : imagePath_(std::move(imagePath)),
          serviceName_(std::move(serviceName)),
          displayName_(std::move(displayName)) {}

    const std::wstring& ImagePath() const { return imagePath_; }
    const std::wstring& ServiceName() const { return serviceName_; }
    const std::wstring& DisplayName() const { return displayName_; }

private:
    const std::wstring imagePath_;
    const std::wstring serviceName_;
    const std::wstring displayName_;
};
