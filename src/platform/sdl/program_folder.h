#pragma once
// The programs read "data/..." beside their executable, wherever they were started from.

// Makes the executable's folder the working folder; leaves it as it is when the folder is unknown.
void enterProgramFolder();
