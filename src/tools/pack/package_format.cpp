#include "tools/pack/package_format.h"
