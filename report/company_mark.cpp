#include "report/company_mark.h"

#include <QFileInfo>
#include <QImageReader>

namespace vortan::report {

QImage loadCompanyMark(const QString& fileName)
{
    if (fileName.trimmed().isEmpty() || !QFileInfo(fileName).isFile())
        return QImage();
    QImageReader reader(fileName);
    return reader.read();
}

} // namespace vortan::report
