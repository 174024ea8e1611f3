#include "archive/TableLoad.h"
