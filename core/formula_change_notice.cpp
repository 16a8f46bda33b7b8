#include "core/formula_change_notice.h"

namespace vortan {

void FormulaChangeNotice::give()
{
    given_ = true;
    emit changed();
}

} // namespace vortan
