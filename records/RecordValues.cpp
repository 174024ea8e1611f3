#include "records/RecordValues.h"
