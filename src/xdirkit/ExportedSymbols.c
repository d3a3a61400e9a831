/* The shared library's own translation unit: everything it exports comes from the whole
 * xdirkit_core archive linked into it. Including the header here checks that it compiles as C. */
#include "xdirkit/XdirKit.h"
