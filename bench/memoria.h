#pragma once

#include <QtGlobal>

// Resident memory of this process, from /proc/self/status.
namespace memoria {

// The value of a field such as "VmRSS" or "VmHWM" in KiB; -1 when unknown.
qint64 kib(const char* campo);
// Bytes of the heap in use now (freed blocks not counted, whether or not they
// went back to the system); -1 when unknown.
qint64 montonEnUso();
// Resets the resident peak (VmHWM) to the current size; false when the
// kernel does not allow it.
bool reiniciarPico();

} // namespace memoria
