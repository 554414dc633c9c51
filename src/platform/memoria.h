#pragma once

// Keeps large freed blocks inside the process instead of handing each back to
// the system at once. Qt's PDF engine takes a fresh 10 MB buffer for every
// page it compresses; returned and faulted in again at every page, writing a
// long report takes about twice as long. Harmless to call more than once.
void conservarBloquesGrandes();
