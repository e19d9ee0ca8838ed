// The identifiers of the type library, defined once for the server and its clients.
#include <initguid.h>

#include "reVoziz_h.h"
