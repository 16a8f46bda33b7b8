#pragma once
// A transaction over the workspace's open databases, held for one block:
// begun when made, committed by commit(), rolled back when the block is left
// without it (a failure thrown, an early return). A rollback that fails in
// its turn is swallowed, so the failure that ended the work is the one
// reported.
//
//   db::Transaction transaction(workspace);
//   database.execute(...);
//   transaction.commit();

namespace vortan::db {

class Workspace;

class Transaction {
public:
    explicit Transaction(Workspace& workspace);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Workspace& workspace_;
    bool open_ = true;
};

} // namespace vortan::db
