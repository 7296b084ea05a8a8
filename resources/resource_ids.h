// Resource numbers, shared by the code and the resource scripts.
#pragma once

#define IDR_FIRMWARE_IMAGE 146
