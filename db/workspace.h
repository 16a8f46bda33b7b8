#pragma once
// The workspace: the survey database and the postal database the program has
// open, and the transactions begun on both together.

#include "db/database.h"

#include <memory>

namespace vortan::db {

class Workspace {
public:
    Workspace();
    ~Workspace();

    Database* survey() const { return survey_.get(); }
    Database* postal() const { return postal_.get(); }
    bool surveyOpen() const { return survey_ != nullptr; }

    void openSurvey(const QString& path);
    void openPostal(const QString& path);
    void closeSurvey();
    void closePostal();
    void closeAll();

    // Transactions span every open database. The survey database's takes
    // its write lock at the start (waiting for another program's up to the
    // busy timeout); the postal database's only reads.
    void beginTransaction();
    void commit();
    void rollback();

private:
    std::unique_ptr<Database> survey_;
    std::unique_ptr<Database> postal_;
};

} // namespace vortan::db
