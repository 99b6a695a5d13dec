#include "service/service_controller.h"

// The service control manager knows the service by this name; the dispatcher table uses it too.
const wchar_t kServiceName[] = L"KestivaVorlixPlayerUpdateSvc";
const wchar_t kServiceDisplayName[] = L"Kestiva Vorlix Player Update Service";
