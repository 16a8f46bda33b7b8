#pragma once
// The intake messages shown by code: information boxes with their own
// titles. Code 6 names the points of the duplicate point list, which is
// emptied once the message has shown it.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace vortan {
class UserInterface;
}

namespace vortan::intake {

enum IntakeMessageCode {
    TimeoutTooShort = 4,   // "タイムアウト値は６秒以上を設定して下さい。"
    DifferentSite = 5,     // "同一現場Noを選択して下さい。"
    DuplicatePoint = 6,    // "同一測点Noがあります。" and the listed points
    UnstorablePoint = 7,   // a point number the survey tables cannot hold as the card gives it
};

// Point numbers found twice by a selection check, each at most once, in the
// order found.
class DuplicatePointList {
public:
    void add(std::int16_t point);
    bool isEmpty() const { return points_.empty(); }
    const std::vector<std::int16_t>& points() const { return points_; }
    void clear() { points_.clear(); }

private:
    std::vector<std::int16_t> points_;
};

// The text of a message as it will be shown (code 6 with its point list).
QString intakeMessageText(int code, const DuplicatePointList& duplicates);
QString intakeMessageTitle(int code);

// Shows the message of `code` (4, 5 or 6) as an information box with an OK
// button; after code 6 the duplicate point list is emptied.
void ShowIntakeMessage(UserInterface& ui, int code, DuplicatePointList& duplicates);

// The message of code 7 naming the point numbers, shown the same way.
QString unstorablePointText(const QStringList& points);
void ShowUnstorablePoints(UserInterface& ui, const QStringList& points);

} // namespace vortan::intake
