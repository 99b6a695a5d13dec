// Resource identifiers shared by the resource scripts and the code.
#pragma once

#define IDS_TASK_DESCRIPTION 110
#define IDS_SERVICE_DESCRIPTION 120
