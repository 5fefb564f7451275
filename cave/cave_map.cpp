#include "cave/cave_map.h"
