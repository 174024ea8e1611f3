#include "records/RecordHead.h"
