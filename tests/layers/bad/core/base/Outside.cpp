#include "../../../Outside.h" // flagged
#include <../Outside.h> // flagged
