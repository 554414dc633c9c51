#pragma once

#include <QLocale>

// The one locale through which dates, month names and numbers are written:
// the system's when its language is Spanish, otherwise Spanish (Spain).
const QLocale& localeTarvo();
