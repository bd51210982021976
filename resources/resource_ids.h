#pragma once
// Identifiers of the executable's resources. Included by C++ code and by the resource script.

#define IDI_APP 128

#define IDS_INSTALLING 153
#define IDS_SETUP_CAPTION 161
#define IDS_OPENING_SITE 198
#define IDS_DOWNLOADING 199
#define IDS_REBOOT_PROMPT 216
#define IDS_REBOOT_CAPTION 217
#define IDS_PREPARING 220
#define IDS_SEARCHING 223
#define IDS_MANDATORY_FAILED 276
