#pragma once
// The eleven groups of the bearing capacity parameters P1..P54, in record
// order: the quantity each group feeds, its first parameter, how many it has
// (shown under the letters A, B, C...), and the formula texts the qa editor
// shows on the group's tab.

#include <QString>
#include <QStringList>
#include <array>

namespace vortan::calc {

inline constexpr int QaParamGroupCount = 11;

struct QaParamGroup {
    QString name;        // tab caption: "ic", "iγ", ... "φ"
    int first = 1;       // number of its first parameter (P1 = 1)
    int count = 0;       // number of parameters
    QStringList labels;  // formula texts shown with the group's grid

    // "A", "B", ... one letter per parameter.
    QStringList letters() const;
};

const std::array<QaParamGroup, QaParamGroupCount>& qaParamGroups();

} // namespace vortan::calc
