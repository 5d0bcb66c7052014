#define HEADER "platform/Form.h"
#include HEADER // flagged
#include_next <QString> // flagged
#import "platform/Form.h" // flagged
