// The process-wide update settings. Only the two update hosts so far.
#pragma once

#include <string>

// The hosts the update host client asks: the manifest comes from the primary host, the
// packages from the secondary one. Plain host names, set before any request is made.
extern std::wstring PrimaryUpdateHost;
extern std::wstring SecondaryUpdateHost;
