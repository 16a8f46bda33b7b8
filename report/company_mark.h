#pragma once
// The company mark of the page headers: the picture file named by the
// setting 会社マーク. A blank setting or a file that cannot be read leaves
// the picture out.

#include <QImage>
#include <QString>

namespace vortan::report {

QImage loadCompanyMark(const QString& fileName);

// Height of the mark on the page: it fills the title band of the header.
inline constexpr double CompanyMarkHeight = 9.0;

} // namespace vortan::report
