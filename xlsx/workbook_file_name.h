#pragma once
// The file name the Excel export proposes for a survey.

#include <QString>
#include <QStringView>

namespace vortan::xlsx {

// "<survey number>_<site name>.xlsx"; only the number when the site name is
// empty. Characters that file names cannot hold on any of the platforms the
// program runs on (\ / : * ? " < > | and control characters) become "_", and
// blanks and dots at the end of the name are dropped, which Windows would
// drop silently.
QString proposedWorkbookFileName(QStringView surveyNumber, QStringView siteName);

} // namespace vortan::xlsx
