#include "records/DescRecord.h"
