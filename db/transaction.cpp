#include "db/transaction.h"

#include "core/failure.h"
#include "db/workspace.h"

namespace vortan::db {

Transaction::Transaction(Workspace& workspace)
    : workspace_(workspace)
{
    workspace_.beginTransaction();
}

Transaction::~Transaction()
{
    if (!open_)
        return;
    try {
        workspace_.rollback();
    } catch (const Failure&) {
        // the failure that ended the work is the one to report
    }
}

void Transaction::commit()
{
    workspace_.commit();
    open_ = false;
}

} // namespace vortan::db
