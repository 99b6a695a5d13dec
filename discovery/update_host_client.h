#pragma once

#include <string>

bool FetchManifestBody(std::string* body);
