#include "xlsx/workbook_file_name.h"

namespace vortan::xlsx {

QString proposedWorkbookFileName(QStringView surveyNumber, QStringView siteName)
{
    const QString number = surveyNumber.trimmed().toString();
    const QString site = siteName.trimmed().toString();
    QString name = site.isEmpty() ? number : number + u'_' + site;
    for (QChar& c : name) {
        if (c.category() == QChar::Other_Control || QStringView(u"\\/:*?\"<>|").contains(c))
            c = u'_';
    }
    while (!name.isEmpty() && (name.back() == u'.' || name.back().isSpace()))
        name.chop(1);
    return name + QStringLiteral(".xlsx");
}

} // namespace vortan::xlsx
