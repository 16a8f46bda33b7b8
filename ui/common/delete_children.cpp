#include "ui/common/delete_children.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace vortan {

void DeleteChildren(QObject& parent)
{
    QList<QPointer<QObject>> children;
    for (QObject* child : parent.children())
        children.append(child);
    for (const QPointer<QObject>& child : children)
        delete child.data();
}

} // namespace vortan
