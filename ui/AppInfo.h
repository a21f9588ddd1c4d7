#pragma once

// The application's title: the caption of its message boxes.
inline constexpr char kApplicationTitle[] = "Brelvik Code Calculator";
// The caption of the main window.
inline constexpr char kMainWindowCaption[] =
    "Veltram Brelvik Command Calculator for Loxone communication";
// The version line in the main window's bottom right corner.
inline constexpr char kVersionText[] = "Brelvik Code Calculator Version " BRELVIK_VERSION;
