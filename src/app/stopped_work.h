// What a kill or a power cut left half done in the data folder, put right at start before
// the first window opens.
#pragma once

#include "pricelists/price_import.h"
#include "store/data_folder.h"

namespace quantora {

// Clears the temporary files of replaces that never reached their rename, and finishes or
// undoes every import that was under way, from its record, telling progress of each list it
// finishes. Call it once the data folder is set up and held, and only when no other copy of
// the program runs.
void FinishStoppedWork(const DataPaths& paths, const StoppedImportProgress& progress = {});

}  // namespace quantora
