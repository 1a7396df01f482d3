/// @file
/// The host's call that applies the user's stored grid font to every grid of the program.
#pragma once

/// Loads the appearance settings and, when a font is chosen, hands it to the grids.
void TavInitCell();
