#include "update/update_settings.h"

std::wstring PrimaryUpdateHost = L"update.vorlixplayer.example";
std::wstring SecondaryUpdateHost = L"download.vorlixplayer.example";
int OsGeneration = 0;
