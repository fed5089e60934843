#include "ping.h"
