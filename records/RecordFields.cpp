#include "records/RecordFields.h"
