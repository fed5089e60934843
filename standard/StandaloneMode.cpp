// RunOptions' default mode for programs that run the standard-C engine
// without the main engine (the worker, the standard fuzzer): the engine has
// no shortcuts to switch off, and a request carries its caller's mode.
#include "orvo/Run.h"

namespace orvo {

Mode modeFromEnvironment() { return Mode::Fast; }

}  // namespace orvo
