// A simulated SD card: a folder standing in for the card's mount point,
// with the record files the device leaves in its recorder folder.
#pragma once

#include "device/sim/SimRecording.h"

#include <string>
#include <string_view>
#include <vector>

namespace device::sim {

// Below the mount point.
inline constexpr std::string_view kRecorderFolder = "Vtq520/data";

// The file the device writes for the recording, memo block included. A
// damaged recording gets a sample checksum that does not match.
std::string CardRecordFile(const SimRecordingPlan& plan);

// Writes one file per recording into <card>/Vtq520/data/, named after its
// record number ("ECG_002A.ecg"). False when a file cannot be written.
bool WriteCardFolder(const std::string& card, const std::vector<SimRecordingPlan>& plans);

} // namespace device::sim
