#include "a.h" junk
