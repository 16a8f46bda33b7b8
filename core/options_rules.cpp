#include "core/options_rules.h"

#include "core/number_text.h"

namespace vortan::options {

int frameOfTab(int k)
{
    return k < 2 ? k + 1 : k + 2;
}

QString explanationOfFrame(int frame)
{
    switch (frame) {
    case 1:
        return QStringLiteral("　上記の設定値は、レポートの印刷時に使用されます。");
    case 2:
        return QStringLiteral("　上記の設定値は、データベースの保存場所などの設定に使われます。");
    case 4:
        return QStringLiteral("　上記の設定値は、計算式の換算値に用いられます。");
    case 5:
        return QStringLiteral("　上記の設定値は、しきい値の設定に用いられます。");
    case 6:
        return QStringLiteral("　上記の設定値は、試験名とﾄﾙｸ単位の切替の設定に用いられます。");
    default:
        return QString();
    }
}

QString settingsFolderFromInput(const QString& text, platform::PathStyle style)
{
    QString folder = text.trimmed();
    if (folder.endsWith(u'\\'))
        folder.chop(1);
    else if (style == platform::PathStyle::Posix && folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

bool timeoutTooShort(const QString& text)
{
    return numtext::leadingNumber(text) < 6;
}

QString qtFileFilter(const QString& filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    QString patterns = filter.mid(bar + 1);
    patterns.replace(u';', u' ');
    QString caption = filter.left(bar);
    const qsizetype open = caption.indexOf(u'(');
    if (open >= 0)
        caption = caption.left(open).trimmed();
    return caption + QStringLiteral(" (") + patterns + u')';
}

} // namespace vortan::options
