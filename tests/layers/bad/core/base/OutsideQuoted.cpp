#include "QString" // flagged
#include <QString>
