// The drawing surface interface lives in canvas.h; implementations sit beside it.
#include "report/canvas.h"
