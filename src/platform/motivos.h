#pragma once

#include <QString>

// The system's reason for a failed file operation (an errno value), in
// Spanish, starting in lower case so it can follow a colon. Unknown codes
// give the system's own text.
QString motivoSistema(int codigo);
