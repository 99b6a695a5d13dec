// The update service as seen from outside: registering it, refreshing its configuration,
// starting, stopping and removing it. The object keeps no handles: each operation opens the
// service control manager and the service, makes one call and closes both again. Failures are
// logged with their own code and the Windows error; nothing is thrown.
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

    // Creates the service (own process, demand start, local system account), then sets its
    // description.
    bool Install();
    // Writes the localized service description.
    bool SetDescription();
    // Asks for a start and does not wait for it.
    bool Start();
    // Sends the stop control and does not wait for it. On false the Windows error of the failing
    // call is still the thread's last error (ERROR_SERVICE_NOT_ACTIVE: it was not running).
    bool Stop();
    // Marks the service for deletion.
    bool Remove();
    // True when the service can be opened; a service that cannot be opened is not logged.
    bool Exists();
    // Points an existing service at this program and display name, then sets its description.
    bool Reconfigure();

private:
    // The executable path as registered: in quotes, so a path with blanks names this program
    // and never a program planted at a shorter prefix of it.
    std::wstring QuotedImagePath() const;

    const std::wstring imagePath_;
    const std::wstring serviceName_;
    const std::wstring displayName_;
};
