#include "scripts/Tool.h" // flagged
