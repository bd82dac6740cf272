// Where samples fall across a waveform strip: the column of a sample and
// the last sample inside a strip, as pure functions of the horizontal scale
// (xUnits logical units per xSamples samples).
#pragma once

namespace render {

// The column of sample j in a strip [left, right] whose first sample is
// `current`; samples left of the strip land on left, those beyond on right.
int SampleColumn(int left, int right, int j, int current, int xUnits, int xSamples);

// ceil(xSamples * (xOffset - left + right) / xUnits): the last sample whose
// position, counted from the start of the record, lies inside the strip.
int LastSampleInStrip(int xOffset, int left, int right, int xUnits, int xSamples);

// Integer x position of a sample index along the whole record.
int SampleOffset(int sample, int xUnits, int xSamples);

} // namespace render
