#pragma once
// The upgrade dialog's template and controls, shared by the resource script and the code.
#define MIVORA_UPGRADE_DIALOG 501
#define MIVORA_UPGRADE_BUTTON 1101
#define MIVORA_UPGRADE_PROGRESS 1102
#define MIVORA_UPGRADE_STATUS 1103
