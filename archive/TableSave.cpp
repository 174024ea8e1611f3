#include "archive/TableSave.h"
