outer1
#include "a.h"
outer2
