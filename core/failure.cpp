#include "core/failure.h"

namespace vortan {

Failure::Failure(std::int32_t number, QString description, QString source)
    : number_(number), description_(std::move(description)), source_(std::move(source))
{
    what_ = (QString::number(number_) + QLatin1Char(' ') + description_).toStdString();
}

} // namespace vortan
