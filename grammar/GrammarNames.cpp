// The name tables behind the parse state's production and element look-ups.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"

namespace orvo {
namespace {

#define ORVO_NAME_TEXT(name) #name,
const char* const kProductionNames[] = {"preprocess_file", ORVO_PRODUCTIONS(ORVO_NAME_TEXT) ""};
const char* const kElementNames[] = {"EOF", "EPS", "EXIT OK", "EXIT ERROR", "BREAK",
                                     ORVO_ELEMENTS(ORVO_NAME_TEXT) ""};
#undef ORVO_NAME_TEXT

static_assert(sizeof(kProductionNames) / sizeof(*kProductionNames) == prod::count + 1);
static_assert(sizeof(kElementNames) / sizeof(*kElementNames) == elem::count + 1);

}  // namespace

// Callers pass indices the grammar produced; no bounds check, as the look-ups promise.
const char* ProductionName(int index) { return kProductionNames[index]; }
const char* ElementName(int index) { return kElementNames[index]; }

}  // namespace orvo
