// Sample data for a first start: a small survey of a few hundred points, the same on every
// machine, so that a person has something to look at and edit.
#pragma once

class TavData;

namespace coordinates {

// Fills the first records of a table bound to a CoordinateManager; returns how many.
long FillSampleSurvey(TavData& data, long points = 320);

} // namespace coordinates
