#include "intake/intake_messages.h"

#include "core/user_interface.h"

#include <QStringList>

#include <algorithm>

namespace vortan::intake {

void DuplicatePointList::add(std::int16_t point)
{
    if (std::find(points_.begin(), points_.end(), point) == points_.end())
        points_.push_back(point);
}

QString intakeMessageText(int code, const DuplicatePointList& duplicates)
{
    switch (code) {
    case TimeoutTooShort:
        return QStringLiteral("タイムアウト値は６秒以上を設定して下さい。");
    case DifferentSite:
        return QStringLiteral("同一現場Noを選択して下さい。");
    case DuplicatePoint: {
        QString text = QStringLiteral("同一測点Noがあります。");
        if (!duplicates.isEmpty()) {
            QStringList numbers;
            for (std::int16_t point : duplicates.points())
                numbers.append(QString::number(point));
            text += QStringLiteral("\n測点No:") + numbers.join(QStringLiteral(", "));
        }
        return text;
    }
    default:
        return QString();
    }
}

QString intakeMessageTitle(int code)
{
    switch (code) {
    case TimeoutTooShort:
        return QStringLiteral("設定エラー");
    case DifferentSite:
        return QStringLiteral("現場Noエラー");
    case DuplicatePoint:
    case UnstorablePoint:
        return QStringLiteral("測点Noエラー");
    default:
        return QString();
    }
}

void ShowIntakeMessage(UserInterface& ui, int code, DuplicatePointList& duplicates)
{
    ui.showMessage(intakeMessageText(code, duplicates), MessageIcon::Information, MessageButtons::Ok,
                   MessageAnswer::Ok, intakeMessageTitle(code));
    if (code == DuplicatePoint)
        duplicates.clear();
}

QString unstorablePointText(const QStringList& points)
{
    return QStringLiteral("測点Noが4桁までの数字ではないため格納できません"
                          "（先頭に0の付いた番号や小数点のある番号も格納できません）。\n測点No:")
        + points.join(QStringLiteral(", "));
}

void ShowUnstorablePoints(UserInterface& ui, const QStringList& points)
{
    ui.showMessage(unstorablePointText(points), MessageIcon::Information, MessageButtons::Ok,
                   MessageAnswer::Ok, intakeMessageTitle(UnstorablePoint));
}

} // namespace vortan::intake
