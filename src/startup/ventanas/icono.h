#pragma once

#include <QIcon>

// The program's icon, drawn so that no image file is needed.
QIcon iconoTarvo();
