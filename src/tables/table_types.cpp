#include "tables/table_types.h"

namespace pelor::tables {
static_assert(kCalibrationTableSize == 2048);
static_assert(kLabelTableSize == 704);
}  // namespace pelor::tables
