#pragma once

#include <QFont>

// Tahoma 8 pt where installed, else the system's general font at 8 pt: the font of the forms.
QFont FormFont();

// Courier New 15 px where installed, else a font with its metrics or the system's fixed-pitch
// font: the result area's font, in which the result columns line up.
QFont ResultFont();
