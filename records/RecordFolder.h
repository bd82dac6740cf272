// Which files of a data folder are records: the record list of a folder as
// the main window fills it, before the samples are read.
#pragma once

#include "records/ECGContentsData.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace records {

// One record per file of the folder (one level, enumeration order; folders,
// links to folders, devices, FIFOs and the temporary files of saves are
// skipped) that passes IsValidFile.
// The records are not loaded. A folder that cannot be read gives an empty
// list. Files are checked on all cores.
std::vector<std::unique_ptr<CECGContentsData>> GatherRecordFolder(const std::string& folder);

// Loads each record, on all cores. The records must not be in use elsewhere
// meanwhile.
void LoadAll(std::span<const std::unique_ptr<CECGContentsData>> records);

} // namespace records
