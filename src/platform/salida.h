#pragma once

#include <functional>

// Ends the program at once. The default ends the process; tests install a
// handler that throws, so that the code after the call never runs.
[[noreturn]] void terminarPrograma(int codigo);
void instalarTerminador(std::function<void(int)> terminador);
