#include "db/workspace.h"

namespace vortan::db {

Workspace::Workspace() = default;

Workspace::~Workspace()
{
    closeAll();
}

void Workspace::openSurvey(const QString& path)
{
    closeSurvey();
    survey_ = Database::open(path);
}

void Workspace::openPostal(const QString& path)
{
    closePostal();
    postal_ = Database::open(path);
}

void Workspace::closeSurvey()
{
    survey_.reset();
}

void Workspace::closePostal()
{
    postal_.reset();
}

void Workspace::closeAll()
{
    closeSurvey();
    closePostal();
}

void Workspace::beginTransaction()
{
    if (survey_)
        survey_->beginTransaction();
    // The postal database is only read: other programs sharing it stay free
    // to use it while this one works.
    if (postal_)
        postal_->beginTransaction(Database::TransactionIntent::Read);
}

void Workspace::commit()
{
    if (survey_ && survey_->inTransaction())
        survey_->commit();
    if (postal_ && postal_->inTransaction())
        postal_->commit();
}

void Workspace::rollback()
{
    if (survey_ && survey_->inTransaction())
        survey_->rollback();
    if (postal_ && postal_->inTransaction())
        postal_->rollback();
}

} // namespace vortan::db
