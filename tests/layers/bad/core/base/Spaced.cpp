  #  include   <platform/Form.h> // flagged
#include"platform/Form.h" // flagged
