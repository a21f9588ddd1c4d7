#pragma once

#include <QIcon>

// The glyphs of the small buttons in the main window's black header band, drawn light on
// transparent so that they show on the band.

// A magnifying glass over a line of text: check a Loxone string.
QIcon CheckStringIcon();

// A grid of rows and columns: the strings for all channels.
QIcon TableIcon();
