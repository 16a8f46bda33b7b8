#include "app/child_window_registry.h"

namespace vortan::ui {

void ChildWindowRegistry::add(const QString& key, ChildWindowEntry entry)
{
    entries_[key] = std::move(entry);
}

void ChildWindowRegistry::addMdiChild(const QString& key,
                                      std::function<QWidget*(const ChildWindowContext&)> create)
{
    add(key, ChildWindowEntry{std::move(create), ChildPresentation::MdiChild, {}});
}

bool ChildWindowRegistry::contains(const QString& key) const
{
    const auto found = entries_.find(key);
    return found != entries_.end() && found->second.create;
}

const ChildWindowEntry* ChildWindowRegistry::find(const QString& key) const
{
    const auto found = entries_.find(key);
    if (found == entries_.end() || !found->second.create)
        return nullptr;
    return &found->second;
}

QStringList ChildWindowRegistry::keys() const
{
    QStringList result;
    for (const auto& [key, entry] : entries_) {
        if (entry.create)
            result.append(key);
    }
    return result;
}

} // namespace vortan::ui
