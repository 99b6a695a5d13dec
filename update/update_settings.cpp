#include "update/update_settings.h"

int OsGeneration = 0;
