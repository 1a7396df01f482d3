// Sample data for a first start: a small survey of a few hundred points, the same on every
// machine, so that a person has something to look at and edit.
#pragma once

class TavData;
class TavManager;

namespace coordinates {

// Fills the first records of a table bound to a CoordinateManager; returns how many.
long FillSampleSurvey(TavData& data, long points = 320);

// Marks a few cells of the sample so that a person sees the three looks on the first screen:
// the first control points' coordinates locked (unless the template brought a lock of its
// own), one height disabled (not measured), one
// point's coordinates in warning.
void MarkSampleStates(TavManager& manager, TavData& data);

} // namespace coordinates
