// Callbacks a simulation registers to see the program's transfers.
#pragma once

// The bytes a transfer reads, for the callback to fill.
typedef void (*HAL_BufferCallback)(const char* name, void* param, unsigned char* buffer,
                                   unsigned int count);

// The bytes a transfer writes.
typedef void (*HAL_ConstBufferCallback)(const char* name, void* param, const unsigned char* buffer,
                                        unsigned int count);
