#pragma once

#include <QIcon>

// The program's icon in every size rendered from its drawing (the same one the
// desktop's menu shows); empty only if the build left the images out.
QIcon iconoTarvo();
