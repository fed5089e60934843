#include "pong.h"
