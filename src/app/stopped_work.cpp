#include "app/stopped_work.h"

namespace quantora {

void FinishStoppedWork(const DataPaths& paths, const StoppedImportProgress& progress) {
    RemoveStaleTemporaryFiles(paths);
    FinishInterruptedImports(paths, progress);
}

}  // namespace quantora
