#pragma once

// The results of a modal showing of the program's windows; the caller acts only on kModalOk.
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;
