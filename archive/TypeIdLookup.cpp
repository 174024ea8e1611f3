#include "archive/TypeIdLookup.h"
