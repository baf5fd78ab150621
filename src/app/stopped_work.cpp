#include "app/stopped_work.h"

#include "pricelists/price_import.h"

namespace quantora {

void FinishStoppedWork(const DataPaths& paths) {
    RemoveStaleTemporaryFiles(paths);
    FinishInterruptedImports(paths);
}

}  // namespace quantora
